#include "app/Unit1.h"

#include <string>
#include <vector>

#include "app/TimeWindow.h"
#include "toolkit/Hint.h"
#include "toolkit/Picture.h"

using namespace tk;

// The model's ports and inputs, bound to the window's controls.
class TForm1::Ports : public TTextSource,
                      public TReceiveBufferSink,
                      public TSignalSink,
                      public TTransmissionInputs {
 public:
  explicit Ports(TForm1& f) : f_(f) {}

  // text source: Edit1
  std::string Text() const override { return f_.Edit1.Text(); }
  void SetText(const std::string& text) override { f_.Edit1.SetText(text); }
  void SetEnabled(bool enabled) override { f_.Edit1.SetEnabled(enabled); }
  bool IsEmpty() const override { return f_.Edit1.IsEmpty(); }

  // receive buffer: Buffer, appended in place
  void AppendText(const std::string& s) override { f_.Buffer.AppendText(s); }
  void ClearText() override { f_.Buffer.Clear(); }

  // signal: the chart's first series, reached through its series list
  void AddPoint(double x, double y) override {
    f_.Chart1.Series(0)->AddPointXY(x, y, "", clDefault);
    f_.views_->SignalPoint(x, y);  // the receiver reads what the series receives
  }
  void ClearPoints() override { f_.Chart1.Series(0)->RemoveAllPoints(); }

  // inputs, read when the model needs them
  bool StartStopBits() const override { return f_.CheckBox1.Checked(); }
  bool Parity() const override { return f_.CheckBox2.Checked(); }
  int Encoding() const override { return f_.RG1.ItemIndex(); }
  std::uint32_t BitTime() const override { return f_.Timer1.Interval(); }

 private:
  TForm1& f_;
};

TForm1::TForm1() : Series1(new TFastLineSeries), ports_(std::make_unique<Ports>(*this)) {
  model_ = std::make_unique<TTransmissionModel>(*ports_, *ports_, *ports_, *ports_);
  SetCaption("Wavelot v1.5");
  SetPosition(201, 108);
  SetClientSize(687, 595);
  SetColor(clBtnFace);
  SetFont(TFont{"MS Sans Serif", -11, clWindowText, {}});
  CreateControls();
  CreateSignalChart();
  CreateAboutPanel();
  CreateSignalViews();
  CreateChannel();
  FormCreate();
}

TForm1::~TForm1() {
  // the clock must not tick into a half-destroyed window
  Timer1.OnTimer = nullptr;
  Timer1.SetEnabled(false);
  // the recount must not show its progress on a dialog that goes first
  channel_->Recount().Cancel();
  channel_->Recount().SetProgressBar(nullptr);
}

void TForm1::CreateControls() {
  struct LabelSpec {
    TLabel& label;
    int l, t, w, h;
    const char* caption;
  };
  for (const LabelSpec& s : {LabelSpec{Label1, 8, 56, 31, 13, "Speed"},
                             {Label2, 120, 56, 56, 13, "bits/second"},
                             {Label3, 8, 168, 59, 13, "Text to send"},
                             {Label4, 8, 280, 71, 13, "Receive Buffer"},
                             {Label5, 8, 352, 68, 13, "Line Encoding"}}) {
    s.label.SetBounds(s.l, s.t, s.w, s.h);
    s.label.SetCaption(s.caption);
  }

  SpinEdit1.SetBounds(48, 48, 65, 22);
  SpinEdit1.SetMinValue(1);
  SpinEdit1.SetMaxValue(1000);
  SpinEdit1.SetValue(16);
  SpinEdit1.OnChange = [this] { SpinEdit1Change(); };

  Edit1.SetBounds(8, 184, 409, 21);
  Edit1.SetText("KELDO");

  struct ButtonSpec {
    TButton& button;
    int l, t, w, h;
    const char* caption;
    void (TForm1::*handler)();
  };
  for (const ButtonSpec& s : {ButtonSpec{Button1, 8, 224, 113, 41, "&START", &TForm1::Button1Click},
                              {Button2, 136, 224, 97, 41, "&Clear", &TForm1::Button2Click},
                              {Button3, 360, 224, 57, 41, "&About", &TForm1::Button3Click}}) {
    s.button.SetBounds(s.l, s.t, s.w, s.h);
    s.button.SetCaption(s.caption);
    s.button.OnClick = [this, h = s.handler] { (this->*h)(); };
  }

  Buffer.SetBounds(8, 296, 673, 49);
  Buffer.SetFont(TFont{"MS Sans Serif", -11, clBlack, {}});

  CheckBox1.SetBounds(224, 48, 105, 17);
  CheckBox1.SetCaption("1Start/2Stop bits");
  CheckBox1.OnClick = [this] { nrbChange(); };
  CheckBox2.SetBounds(224, 72, 97, 17);
  CheckBox2.SetCaption("Parity");
  CheckBox2.OnClick = [this] { nrbChange(); };

  RG1.SetBounds(440, 16, 241, 249);
  RG1.SetCaption("Line Encoding ");
  RG1.SetItems({"Unipolar", "NRZ-L", "NRZ-I", "RZ", "Manchester"});
  RG1.SetItemIndex(0);

  ScrollBar1.SetBounds(8, 576, 673, 16);
  ScrollBar1.SetAnchors(akLeft | akRight | akBottom);
  ScrollBar1.SetPageSize(0);
  ScrollBar1.SetMin(0);
  ScrollBar1.SetMax(100);
  ScrollBar1.SetPosition(0);
  ScrollBar1.OnChange = [this] { ScrollBar1Change(); };

  Timer1.SetEnabled(false);
  Timer1.OnTimer = [this] { Timer1Timer(); };

  int order = 0;
  for (TControl* c :
       std::initializer_list<TControl*>{&SpinEdit1, &Edit1, &Button1, &Buffer, &Chart1, &CheckBox1,
                                        &RG1, &Button2, &CheckBox2, &Button3, &Panel1, &ScrollBar1})
    c->SetTabOrder(order++);
}

void TForm1::CreateSignalChart() {
  TChart& c = Chart1;
  c.SetBounds(8, 368, 671, 209);
  c.SetAnchors(kAllAnchors);
  c.SetAllowPanning(pmHorizontal);
  c.BackWall().Brush().SetColor(clWhite);
  c.BackWall().Brush().SetStyle(bsClear);
  c.Title().SetText({"Signal"});
  c.SetView3D(false);
  c.SetBevelOuter(bvLowered);

  TChartAxis& bottom = c.BottomAxis();
  bottom.SetAutomatic(false);
  bottom.SetMinimum(0);
  bottom.SetMaximum(999.0);
  bottom.SetAxisValuesFormat("#,##");
  bottom.SetDateTimeFormat("ss:hnd");
  bottom.SetExactDateTime(false);
  bottom.SetIncrement(1.1574074074074e-05);  // one second in days, until START sets the bit time
  bottom.SetLabelsAngle(45);
  bottom.SetLabelsOnAxis(false);
  bottom.SetLabelsSeparation(0);
  bottom.MinorGrid().SetStyle(psDash);
  bottom.SetMinorTickCount(1);
  bottom.MinorTicks().SetVisible(false);
  bottom.SetRoundFirstLabel(false);

  struct FixedAxis {
    TChartAxis& axis;
    double min, max;
    bool visible;
  };
  for (const FixedAxis& a : {FixedAxis{c.LeftAxis(), -2.0, 2.0, true},
                             {c.RightAxis(), -2.0, 2.0, false},
                             {c.TopAxis(), 0, 999.0, false}}) {
    a.axis.SetAutomatic(false);
    a.axis.SetLimits(a.min, a.max);
    a.axis.SetVisible(a.visible);
  }
  c.DepthAxis().SetTickLength(1);

  TFastLineSeries& s = *Series1;
  s.SetSeriesColor(clRed);
  s.LinePen().SetColor(clRed);
  s.LinePen().SetWidth(3);
  s.SetShowInLegend(false);
  s.SetValueFormat("#,##");
  s.Marks().SetVisible(false);
  s.Marks().SetArrowLength(8);
  s.SetParentChart(&c);
}

void TForm1::CreateAboutPanel() {
  Panel1.SetBounds(3000, 8, 671, 585);  // parked outside the window until About
  Panel1.SetAnchors(kAllAnchors);
  Panel1.SetColor(clBlack);
  const TFont aboutFont{"MS Sans Serif", -21, clAqua, {.bold = true}};
  Panel1.SetFont(aboutFont);
  Panel1.SetVisible(false);

  Button4.SetBounds(272, 520, 135, 41);
  Button4.SetAnchors(kAllAnchors);
  Button4.SetFont(TFont{"MS Sans Serif", -21, clBtnText, {.bold = true}});
  Button4.SetCaption("OK");
  Button4.OnClick = [this] { Button4Click(); };

  Memo1.SetBounds(160, 80, 343, 145);
  Memo1.SetAnchors(kAllAnchors);
  Memo1.SetColor(clBlack);
  Memo1.SetFont(aboutFont);
  Memo1.SetReadOnly(true);
  Memo1.SetLines({"Wavelot v1.5", "Serial transmission", "and line encoding",
                  "by the Wavelot developers,", "with thanks to our students"});
  Memo1.SetAlignment(taCenter);

  Memo2.SetBounds(160, 232, 343, 89);
  Memo2.SetAnchors(kAllAnchors);
  Memo2.SetColor(clBlack);
  Memo2.SetFont(TFont{"MS Sans Serif", -13, clAqua, {}});
  // the conventions the chart draws, so a student can check them against a textbook
  Memo2.SetLines({"NRZ-L: a '0' is high, a '1' is low.",
                  "NRZ-I: each '1' is a transition, a '0' none; it starts high.",
                  "RZ: polar, +1 for '1', -1 for '0', back to 0 mid-bit.",
                  "Manchester: '0' is high-to-low, '1' low-to-high",
                  "(G. E. Thomas); IEEE 802.3 uses the opposite."});
  Memo2.SetAlignment(taCenter);

  int order = 0;
  for (TControl* c : {static_cast<TControl*>(&Button4), static_cast<TControl*>(&Memo1),
                      static_cast<TControl*>(&Memo2)})
    c->SetTabOrder(order++);
}

void TForm1::CreateSignalViews() {
  views_ = std::make_unique<TSignalViews>(Chart1, [this] { return Timer1.Interval(); });
  struct ItemSpec {
    const char* caption;
    TSignalView view;
  };
  for (const ItemSpec& s : {ItemSpec{"&Bit grid", svBitGrid},
                            {"Bit r&oles", svBitRoles},
                            {"&Receiver", svReceiver},
                            {"&Clock", svClock}}) {
    TMenuItem& item = ChartMenu.Add(s.caption, true);
    item.OnClick = [this, &item, v = s.view] { views_->SetShown(v, item.Checked()); };
  }
  ChartMenu.Add("Com&pare encodings", false).OnClick = [this] { CompareClick(); };
  ChartMenu.Add("Cop&y picture", false).OnClick = [this] { CopyPictureClick(); };
  ChartMenu.Add("&Save picture...", false).OnClick = [this] { SavePictureClick(); };
  ChartMenu.Add("Save &data...", false).OnClick = [this] { SaveDataClick(); };
  ChartMenu.Add("C&hannel…", false).OnClick = [this] { ChannelClick(); };
  ChartMenu.Add("&Eye diagram", false).OnClick = [this] { EyeClick(); };
  compareKey_ = std::make_unique<TShortcut>(Chart1, "Ctrl+E", ssFocused);
  compareKey_->OnActivate = [this] { CompareClick(); };
  Edit1.OnChange = [this] { UpdateCompare(); };
  Chart1.OnContextPopup = [this](TCustomPanel*, TPoint p) { Chart1ContextPopup(p.x, p.y); };
  Chart1.OnMouseMove = [this](TCustomPanel*, TShiftState, int x, int y) { Chart1MouseMove(x, y); };
}

void TForm1::CreateChannel() {
  channel_ = std::make_unique<TChannelView>(Chart1, *Series1);
  channel_->OnRecounted = [this] { ShowChannelResults(); };
  // the received wave follows the window however it moves
  Chart1.OnZoom = Chart1.OnUndoZoom = Chart1.OnScroll = [this](TCustomZozPanel*) {
    ChannelWindowMoved();
  };
}

void TForm1::ChannelWindowMoved() {
  channel_->WindowMoved();
  UpdateReceiverView();
}

void TForm1::UpdateReceiverView() {
  const TChartAxis& a = Chart1.BottomAxis();
  views_->ShowChannelReceiver(channel_->On() ? &channel_->Channel() : nullptr, a.Minimum(),
                              a.Maximum());
}

std::uint32_t TForm1::BitTimeFromSpeed() const {
  const int speed = SpinEdit1.Value();
  return speed > 0 ? static_cast<std::uint32_t>(1000 / speed) : 0;
}

// ---------------------------------------------------------------- handlers

void TForm1::FormCreate() {
  Timer1.SetInterval(BitTimeFromSpeed());
  PanningMouseButton = mbLeft;  // a left drag on the chart zooms or restores, never pans
}

void TForm1::SpinEdit1Change() {
  Timer1.SetInterval(BitTimeFromSpeed());
}

void TForm1::Button1Click() {
  model_->Start();
  views_->Restart(*ports_);
  channel_->Restart();
  newRun_ = true;
  Chart1.BottomAxis().SetIncrement(Timer1.Interval());
  Edit1.SetEnabled(false);
  Timer1.SetEnabled(true);
  started_ = true;
  sent_ = {};
  drawn_.clear();
  UpdateCompare();
}

void TForm1::Button2Click() {
  model_->Reset();
  Timer1.SetInterval(BitTimeFromSpeed());
  Chart1.BottomAxis().SetIncrement(Timer1.Interval());
  Edit1.SetEnabled(true);
  Timer1.SetEnabled(false);
  ports_->ClearPoints();
  views_->Clear();
  channel_->Clear();
  ShowChannelResults();
  UpdateReceiverView();
  Buffer.Clear();
  started_ = false;
  sent_ = {};
  drawn_.clear();
  UpdateCompare();
}

void TForm1::nrbChange() {
  model_->UpdateFrameLength();
  UpdateCompare();
}

void TForm1::Timer1Timer() {
  const std::string pending = model_->PendingBits(), text = Edit1.Text();
  const std::int32_t sentBefore = model_->SentBits();
  const int pointsBefore = Series1->PointCount();
  const int encoding = RG1.ItemIndex();  // the model reads it for this bit
  const std::int32_t startMs = model_->ElapsedMs(), nrzi = model_->NrziLevel();
  const std::uint32_t bitTime = Timer1.Interval();
  views_->BeforeTick(*model_, *ports_, text);
  model_->Tick();
  views_->AfterTick(*model_);
  // a bit went out exactly when the frame's count moved (a new frame restarts it at 1)
  if (model_->SentBits() == sentBefore) return;
  drawn_.push_back({Series1->PointCount() - pointsBefore, EncodingName(encoding)});
  const char bit = RecordSentBit(pending, text);
  TSentBit sent;
  sent.digit = bit;
  sent.encoding = encoding;
  sent.bitTime = bitTime;
  sent.startMs = startMs;
  sent.startStop = frameLength_ >= 11;  // the layouts: 8, 9 (parity), 11 (start/stop), 12
  sent.parity = frameLength_ == 9 || frameLength_ == 12;
  sent.position = model_->SentBits() - 1;
  sent.nrziBefore = nrzi < 0 ? -1 : 1;
  channel_->SentBit(sent);
  if (newRun_) {
    newRun_ = false;
    UpdateReceiverView();
  }
  if (channelDialog_ && channelDialog_->Visible())
    channelDialog_->ShowCounters(channel_->Channel().Counters());
  if (eye_ && eye_->Visible()) eye_->Follow(channel_->Channel(), encoding);
}

char TForm1::RecordSentBit(const std::string& pendingBefore, const std::string& textBefore) {
  const bool newFrame = pendingBefore.empty();
  std::string frame;
  if (newFrame) {
    frame = model_->BuildFrame(static_cast<std::uint8_t>(textBefore.front()));
    frameLength_ = static_cast<int>(frame.size());
  }
  const char bit = newFrame ? frame[0] : pendingBefore.front();
  if (newFrame) sent_.text += textBefore.front();
  sent_.chars += sent_.text.empty() ? '\0' : sent_.text.back();
  sent_.bits += bit;
  sent_.roles += BitRole(model_->FrameLength(), model_->SentBits() - 1);
  UpdateCompare();
  return bit;
}

void TForm1::Button3Click() {
  Panel1.SetLeft(8);
  Panel1.Show();
}

void TForm1::Button4Click() {
  Panel1.Hide();
}

void TForm1::ScrollBar1Change() {
  MoveTimeWindow(Chart1.BottomAxis(), ScrollBar1.Position());
  ChannelWindowMoved();
}

void TForm1::Chart1ContextPopup(int x, int y) {
  HideHint();
  ChartMenu.Popup(Chart1, x, y);
}

void TForm1::CompareClick() {
  if (!compare_) compare_ = std::make_unique<TCompareWindow>();
  UpdateCompare();
  compare_->Show();
  compare_->SetFocus();
}

TCompareInput TForm1::CompareInput() const {
  TCompareInput in = sent_;
  if (!started_) {
    in.text = Edit1.Text();
    for (char c : in.text) {
      const std::string frame = model_->BuildFrame(static_cast<std::uint8_t>(c));
      in.bits += frame;
      for (int i = 0; i < static_cast<int>(frame.size()); ++i) {
        in.roles += BitRole(static_cast<int>(frame.size()), i);
        in.chars += c;
      }
    }
  }
  in.bitTime = Timer1.Interval();
  in.speed = SpinEdit1.Value();
  return in;
}

void TForm1::ChannelClick() {
  if (!channelDialog_) {
    channelDialog_ = std::make_unique<TChannelDialog>();
    channelDialog_->OnSettings = [this](const TChannelSettings& s) { ChannelSettings(s); };
    channel_->Recount().SetProgressBar(&channelDialog_->Progress);
  }
  channelDialog_->ShowSettings(channel_->Settings());
  ShowChannelResults();
  channelDialog_->Show();
  channelDialog_->SetFocus();
}

void TForm1::ChannelSettings(const TChannelSettings& settings) {
  channel_->SetSettings(settings);  // a bad value throws its message; the dialog shows it
  UpdateReceiverView();
  if (channelDialog_) {
    channelDialog_->ShowSettings(channel_->Settings());
    channelDialog_->ShowRecounting(channel_->Recount().Running());
  }
}

void TForm1::ShowChannelResults() {
  UpdateReceiverView();  // a finished recount brings other decisions
  if (channelDialog_) {
    channelDialog_->ShowCounters(channel_->Channel().Counters());
    channelDialog_->ShowRecounting(channel_->Recount().Running());
  }
  if (eye_) eye_->Follow(channel_->Channel(), RG1.ItemIndex());
}

void TForm1::EyeClick() {
  if (!eye_) eye_ = std::make_unique<TEyeWindow>();
  eye_->Follow(channel_->Channel(), RG1.ItemIndex());
  eye_->RefreshPicture();
  eye_->Show();
  eye_->SetFocus();
}

void TForm1::CopyPictureClick() {
  CopyChartPicture(Chart1);
}

void TForm1::SavePictureClick() {
  const std::string path = PromptSaveFileName(*this, "Save picture", DefaultName("png"),
                                              {"PNG image (*.png)", "SVG drawing (*.svg)"});
  if (!path.empty()) SaveChartPicture(Chart1, path);
}

void TForm1::SaveDataClick() {
  const std::string path =
      PromptSaveFileName(*this, "Save data", DefaultName("csv"), {"CSV file (*.csv)"});
  if (!path.empty()) SaveText(path, SignalCsv());
}

std::string TForm1::SignalCsv() const {
  const int e = RG1.ItemIndex();
  return CsvText({{Series1, EncodingName(e), 0, PointsPerBit(e), drawn_}}, BitRecords(sent_));
}

std::string TForm1::DefaultName(const std::string& extension) const {
  return DefaultFileName(started_ ? sent_.text : Edit1.Text(), EncodingName(RG1.ItemIndex()),
                         extension);
}

void TForm1::UpdateCompare() {
  if (compare_) compare_->SetInput(CompareInput());
}

void TForm1::Chart1MouseMove(int x, int y) {
  if (views_->Shown(svReceiver))
    ShowHint(Chart1, x, y, views_->HintAt(x, y));
  else
    HideHint();
}
