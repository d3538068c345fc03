#include <gtest/gtest.h>

#include <QImage>
#include <QTimer>
#include <stdexcept>
#include <string>
#include <vector>

#include "toolkit/Application.h"
#include "toolkit/Form.h"
#include "toolkit/IdleJob.h"
#include "toolkit/QtSurface.h"
#include "toolkit/RgbPicture.h"

using namespace tk;

namespace {

// Turns the event loop until the job ends or the turns run out.
int TurnsUntilDone(const TIdleJob& job, int most = 1000) {
  int turns = 0;
  while (job.Running() && turns < most) {
    ProcessMessages();
    ++turns;
  }
  return turns;
}

}  // namespace

TEST(IdleJob, RunsItsSlicesBetweenOtherEvents) {
  struct Case {
    int slices;
    bool barShown;  // a job of one slice never shows its bar
  };
  for (const Case c : {Case{1, false}, Case{2, true}, Case{5, true}, Case{40, true}}) {
    TForm form;
    TProgressBar bar(&form);
    TIdleJob job;
    job.SetProgressBar(&bar);
    std::vector<std::string> order;
    int done = 0, seenBar = 0;
    job.OnDone = [&] { order.push_back("done"); };
    job.Start([&] {
      ++done;
      order.push_back("slice");
      // another event posted by each slice must be handled before the next slice
      QTimer::singleShot(0, [&] {
        order.push_back("event");
        seenBar += bar.Visible();
      });
      return static_cast<double>(done) / c.slices;
    });
    EXPECT_EQ(done, 0) << "the first slice waits for the event loop";
    EXPECT_TRUE(job.Running());
    TurnsUntilDone(job);
    ProcessMessages();
    EXPECT_FALSE(job.Running());
    EXPECT_EQ(job.Slices(), c.slices);
    EXPECT_DOUBLE_EQ(job.Progress(), 1.0);
    ASSERT_GE(order.size(), 2u * c.slices) << c.slices;
    // slice, event, slice, event, ...: nothing waits for the whole job
    for (int i = 0; i + 1 < c.slices; ++i) {
      EXPECT_EQ(order[2 * i], "slice") << c.slices << " at " << i;
      EXPECT_EQ(order[2 * i + 1], "event") << c.slices << " at " << i;
    }
    EXPECT_EQ(seenBar > 0, c.barShown) << c.slices;
    EXPECT_FALSE(bar.Visible()) << "hidden once done";
    EXPECT_EQ(std::count(order.begin(), order.end(), "done"), 1);
  }
}

TEST(IdleJob, ShowsHowFarItHasGot) {
  TForm form;
  TProgressBar bar(&form);
  bar.SetMax(100);
  TIdleJob job;
  job.SetProgressBar(&bar);
  int n = 0;
  std::vector<int> positions;
  job.Start([&] {
    if (n > 0) positions.push_back(bar.Position());
    return ++n / 4.0;
  });
  TurnsUntilDone(job);
  EXPECT_EQ(positions, (std::vector<int>{25, 50, 75}));
}

TEST(IdleJob, StartReplacesCancelStopsFinishRunsTheRest) {
  TIdleJob job;
  int first = 0, second = 0, done = 0;
  job.OnDone = [&] { ++done; };
  job.Start([&] { return ++first / 10.0; });
  ProcessMessages();
  job.Start([&] { return ++second / 3.0; });  // new settings: the old count is useless
  TurnsUntilDone(job);
  EXPECT_LE(first, 1);
  EXPECT_EQ(second, 3);
  EXPECT_EQ(done, 1);

  job.Start([&] { return ++first / 100.0; });
  job.Cancel();
  TurnsUntilDone(job);
  EXPECT_LE(first, 1);
  EXPECT_EQ(done, 1);

  int third = 0;
  job.Start([&] { return ++third / 7.0; });
  job.Finish();
  EXPECT_EQ(third, 7);
  EXPECT_FALSE(job.Running());
  EXPECT_EQ(done, 2);
}

TEST(IdleJob, AFailingSliceEndsTheJobWithItsMessage) {
  std::vector<std::string> shown;
  SetErrorHandler([&](const std::string& m) { shown.push_back(m); });
  TIdleJob job;
  int n = 0, done = 0;
  job.OnDone = [&] { ++done; };
  job.Start([&]() -> double {
    if (++n == 2) throw std::runtime_error("out of memory for the count");
    return n / 5.0;
  });
  TurnsUntilDone(job);
  SetErrorHandler({});
  EXPECT_EQ(n, 2);
  EXPECT_FALSE(job.Running());
  EXPECT_EQ(done, 0);
  EXPECT_EQ(shown, (std::vector<std::string>{"out of memory for the count"}));
}

TEST(RgbPicture, IsDrawnStretchedWithSharpPixels) {
  // 2 x 2 pixels stretched over 20 x 10: each pixel a 10 x 5 block
  TRgbPicture picture(2, 2, clWhite);
  picture.SetPixel(0, 0, RGB(255, 0, 0));
  picture.SetPixel(1, 0, RGB(0, 0, 255));
  picture.SetPixel(0, 1, RGB(0, 128, 0));
  picture.SetPixel(5, 5, RGB(1, 2, 3));  // outside: nothing
  EXPECT_EQ(picture.Pixel(0, 1), RGB(0, 128, 0));
  EXPECT_EQ(picture.Pixel(9, 9), clWhite);
  QImage image(30, 20, QImage::Format_RGB32);
  image.fill(Qt::black);
  {
    TQtSurface surface(&image);
    surface.DrawPicture({5, 5, 25, 15}, picture);
  }
  struct Probe {
    int x, y;
    QRgb rgb;
  };
  for (const Probe p : {Probe{5, 5, qRgb(255, 0, 0)},
                        {14, 9, qRgb(255, 0, 0)},
                        {15, 5, qRgb(0, 0, 255)},
                        {24, 9, qRgb(0, 0, 255)},
                        {5, 10, qRgb(0, 128, 0)},
                        {14, 14, qRgb(0, 128, 0)},
                        {15, 10, qRgb(255, 255, 255)},
                        {4, 5, qRgb(0, 0, 0)},
                        {25, 15, qRgb(0, 0, 0)}})
    EXPECT_EQ(image.pixel(p.x, p.y) & 0xFFFFFF, p.rgb & 0xFFFFFF) << p.x << "," << p.y;
}
