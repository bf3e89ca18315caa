#pragma once
// A tab control: the captions, which tabs are visible and enabled, the tab in front in both directions, and
// the Click event when the user brings another tab to the front. The view adds one page widget per tab of the
// model.

#include <QTabWidget>
#include <functional>

#include "ui/binder.h"

namespace pnl::ui {

class TabsBinder : public Binder {
  public:
    TabsBinder(QTabWidget* tabs, TabControl& model, std::function<void()> onClick = {});

  protected:
    void refresh() override;

  private:
    TabControl& control() const { return static_cast<TabControl&>(model()); }

    QTabWidget* tabs_;
};

TabsBinder* bindTabs(QTabWidget* tabs, TabControl& model, std::function<void()> onClick = {});

}  // namespace pnl::ui
