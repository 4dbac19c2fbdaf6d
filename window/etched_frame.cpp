#include "window/etched_frame.hpp"

#include <QFontMetrics>
#include <QPainter>

namespace pliego {

namespace {
constexpr int kCaptionLeft = 6;
constexpr int kCaptionGap = 2;  // free line on either side of the text
}  // namespace

int EtchedFrame::topLine() const { return QFontMetrics(font()).height() / 2; }

QRect EtchedFrame::captionRect() const {
  const QFontMetrics metrics(font());
  return {kCaptionLeft, 0, metrics.horizontalAdvance(title()) + 2 * kCaptionGap, metrics.height()};
}

void EtchedFrame::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const QRect line = rect().adjusted(0, topLine(), -2, -2);
  painter.setPen(palette().color(QPalette::Mid));
  painter.drawRect(line);
  painter.setPen(palette().color(QPalette::Light));
  painter.drawRect(line.translated(1, 1));
  const QRect caption = captionRect();
  painter.fillRect(caption, palette().window());
  painter.setPen(palette().color(QPalette::WindowText));
  painter.drawText(caption, Qt::AlignCenter | Qt::TextSingleLine, title());
}

}  // namespace pliego
