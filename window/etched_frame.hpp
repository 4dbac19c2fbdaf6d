#pragma once
// A frame as Windows draws it: an etched line around it and the caption on
// its top line, near the left, the line broken behind the text. The top line
// runs through the middle of the caption, above anything the frame holds.
#include <QGroupBox>

namespace pliego {

class EtchedFrame : public QGroupBox {
 public:
  explicit EtchedFrame(QWidget* parent) : QGroupBox(parent) {}

  // Where the top line runs, and the caption's place, in the frame's pixels.
  int topLine() const;
  QRect captionRect() const;

 protected:
  void paintEvent(QPaintEvent* event) override;
};

}  // namespace pliego
