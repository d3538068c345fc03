#pragma once
// The narrow ports through which the transmission model meets the window and
// the chart. The model references them and owns none of them.

#include <cstdint>
#include <string>

// The text still to be sent; its own text is the send queue, consumed from the front.
class TTextSource {
 public:
  virtual ~TTextSource() = default;
  virtual std::string Text() const = 0;
  virtual void SetText(const std::string& text) = 0;
  virtual void SetEnabled(bool enabled) = 0;
  // Cheaper than Text().empty() for sources that can answer without a copy.
  virtual bool IsEmpty() const { return Text().empty(); }
};

// The receive buffer: bits and frame separators are appended at its end.
class TReceiveBufferSink {
 public:
  virtual ~TReceiveBufferSink() = default;
  virtual void AppendText(const std::string& s) = 0;
  virtual void ClearText() = 0;
};

// The signal: (time in ms, level) points for the chart.
class TSignalSink {
 public:
  virtual ~TSignalSink() = default;
  virtual void AddPoint(double x, double y) = 0;
  virtual void ClearPoints() = 0;
};

// The four inputs the model reads at the moment it needs them. It keeps no
// copy, so a change in the window takes effect at the very next read.
class TTransmissionInputs {
 public:
  virtual ~TTransmissionInputs() = default;
  virtual bool StartStopBits() const = 0;
  virtual bool Parity() const = 0;
  virtual int Encoding() const = 0;           // 0..4; anything else encodes nothing
  virtual std::uint32_t BitTime() const = 0;  // milliseconds
};
