#pragma once
// The main window: every control the student works with, the transmission
// model bound to them, and the clock that drives it.

#include <memory>

#include "app/ChannelDialog.h"
#include "app/ChannelView.h"
#include "app/CompareWindow.h"
#include "app/EyeDiagram.h"
#include "app/SignalViews.h"
#include "app/TransmissionModel.h"
#include "chart/panel/Chart.h"
#include "chart/series/FastLineSeries.h"
#include "toolkit/ExtControls.h"
#include "toolkit/Form.h"
#include "toolkit/Menu.h"
#include "toolkit/Shortcut.h"
#include "toolkit/SpinEdit.h"
#include "toolkit/StdControls.h"
#include "toolkit/Timer.h"

class TForm1 : public tk::TForm {
 public:
  TForm1();
  ~TForm1() override;

  // components, in declaration order (each is created with its design-time values)
  tk::TTimer Timer1;
  tk::TLabel Label1{this};
  tk::TSpinEdit SpinEdit1{this};
  tk::TLabel Label2{this};
  tk::TEdit Edit1{this};
  tk::TLabel Label3{this};
  tk::TButton Button1{this};
  tk::TLabel Label4{this};
  tk::TRichEdit Buffer{this};
  TChart Chart1{this};
  TFastLineSeries* Series1;  // owned by Chart1, which frees its series
  tk::TCheckBox CheckBox1{this};
  tk::TRadioGroup RG1{this};
  tk::TLabel Label5{this};
  tk::TButton Button2{this};
  tk::TCheckBox CheckBox2{this};
  tk::TButton Button3{this};
  tk::TPanel Panel1{this};
  tk::TButton Button4{&Panel1};
  tk::TMemo Memo1{&Panel1};
  tk::TMemo Memo2{&Panel1};
  tk::TScrollBar ScrollBar1{this};
  // the signal chart's context menu: one check item per view, all off at start
  tk::TPopupMenu ChartMenu;

  // event handlers
  void FormCreate();
  void SpinEdit1Change();
  void Button1Click();
  void Button2Click();
  void nrbChange();
  void Timer1Timer();
  void Button3Click();
  void Button4Click();
  void ScrollBar1Change();
  void Chart1ContextPopup(int x, int y);
  void Chart1MouseMove(int x, int y);
  void CompareClick();
  void CopyPictureClick();
  void SavePictureClick();
  void SaveDataClick();
  void ChannelClick();
  void EyeClick();
  // The signal chart's samples with their bits, and a file name for them.
  std::string SignalCsv() const;
  std::string DefaultName(const std::string& extension) const;

  // The bits the compare window draws: those sent since START, or before any
  // START the frames of the text box under the framing options as they stand.
  TCompareInput CompareInput() const;
  // The compare window once opened, else null.
  TCompareWindow* Compare() const { return compare_.get(); }

  // The channel between sender and receiver, ideal at start.
  TChannelView& Channel() { return *channel_; }
  // The channel's dialog and the eye diagram once opened, else null.
  TChannelDialog* ChannelDialog() const { return channelDialog_.get(); }
  TEyeWindow* EyeWindow() const { return eye_.get(); }

  const TTransmissionModel& Model() const { return *model_; }
  TSignalViews& Views() { return *views_; }

 private:
  class Ports;
  void CreateControls();
  void CreateSignalChart();
  void CreateAboutPanel();
  void CreateSignalViews();
  // 1000 div the speed; a transient speed of 0 or below (while typing) gives
  // interval 0, which stops the ticks until the box reads a valid speed.
  std::uint32_t BitTimeFromSpeed() const;
  // The bit that just went out, what it carried and where it stands in its frame.
  char RecordSentBit(const std::string& pendingBefore, const std::string& textBefore);
  void UpdateCompare();
  void CreateChannel();
  void ChannelSettings(const TChannelSettings& settings);
  void ShowChannelResults();
  // The receiver view reads the channel's receiver while the channel is on.
  void UpdateReceiverView();
  void ChannelWindowMoved();

  std::unique_ptr<Ports> ports_;
  std::unique_ptr<TTransmissionModel> model_;
  std::unique_ptr<TSignalViews> views_;  // goes before Chart1, whose series it names
  std::unique_ptr<TCompareWindow> compare_;
  std::unique_ptr<tk::TShortcut> compareKey_;  // Ctrl+E on the focused chart
  std::unique_ptr<TChannelView> channel_;     // goes before Chart1, whose series it lends
  std::unique_ptr<TChannelDialog> channelDialog_;
  std::unique_ptr<TEyeWindow> eye_;
  int frameLength_ = 0;  // of the frame in progress, as it was built
  bool newRun_ = false;  // START: the receiver view turns to the new run at its first bit
  bool started_ = false;  // START since launch or the last Clear
  TCompareInput sent_;    // what has gone out since START
  std::vector<TBitDrawing> drawn_;  // how each of those bits went onto the signal
};
