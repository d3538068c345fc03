// A one-line text box keeps a text of any length: typed, pasted or set.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QtTest/QTest>
#include <ctime>

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

  // processor time, not wall time: the machine may be shared with other builds
  const std::clock_t start = std::clock();
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
  // about half a second each; the bound leaves room for slower machines
  const double seconds = static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC;
  EXPECT_LT(seconds, 5.0) << "setting and pasting took " << seconds << " s";
}
