// A label that looks and acts like a link: blue, underlined, hand cursor,
// and a click handler.
#pragma once

#include <QLabel>
#include <functional>

class LinkLabel : public QLabel {
 public:
  explicit LinkLabel(QWidget* parent);
  std::function<void()> onClick;

 protected:
  void mouseReleaseEvent(QMouseEvent* event) override;
};
