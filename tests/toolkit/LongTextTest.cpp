// A one-line text box keeps a text of any length: typed, pasted or set.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QtTest/QTest>

#include "toolkit/Form.h"
#include "toolkit/StdControls.h"

TEST(LongText, AMegabyteIsKeptWholeAndTheWindowStaysResponsive) {
  tk::TForm form;
  tk::TEdit edit(&form);
  edit.SetBounds(8, 8, 400, 21);
  form.Show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(form.Widget()));
  std::string text(1 << 20, 'A');
  for (std::size_t i = 0; i < text.size(); i += 7)
    text[i] = static_cast<char>('a' + i % 26);

  QElapsedTimer clock;
  clock.start();
  edit.SetText(text);
  QApplication::processEvents();
  EXPECT_EQ(edit.Text(), text);

  // pasted at the end, as a user would
  auto* line = static_cast<QLineEdit*>(edit.Widget());
  QApplication::clipboard()->setText(
      QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size())));
  line->setFocus();
  line->end(false);
  line->paste();
  QApplication::processEvents();
  EXPECT_EQ(edit.Text().size(), 2 * text.size());
  // about half a second each on a loaded two-core machine; the bound leaves room
  EXPECT_LT(clock.elapsed(), 5000) << "setting and pasting took " << clock.elapsed() << " ms";
}
