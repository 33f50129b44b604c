// The interface list's five box operations on a combo box.
#pragma once

#include <QComboBox>

#include "interface_list.h"

class ComboInterfaceBox : public standora::InterfaceBox {
 public:
  explicit ComboInterfaceBox(QComboBox* box) : box_(box) {}
  void Clear() override { box_->clear(); }
  // A combo box selects the first entry added to it; the list decides
  // for itself what is selected.
  void Add(const std::string& text) override {
    const int selected = box_->currentIndex();
    box_->addItem(QString::fromStdString(text));
    box_->setCurrentIndex(selected);
  }
  int Count() const override { return box_->count(); }
  void Select(int index) override { box_->setCurrentIndex(index); }
  void SetEnabled(bool enabled) override { box_->setEnabled(enabled); }

 private:
  QComboBox* box_;
};
