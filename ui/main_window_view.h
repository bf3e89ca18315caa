#pragma once
// The main window on screen: the menu bar with its commands, the page area (one page shown at a time;
// each page view is added with addPage) and the status bar with five panels. Closing it runs the shutdown
// question.

#include <QMainWindow>
#include <functional>
#include <optional>
#include <vector>

#include "platform/user_settings.h"

class QAction;
class QLabel;
class QVBoxLayout;

namespace pnl {
struct MainWindowForm;
class MainWindowController;
}  // namespace pnl

namespace pnl::ui {

class MainWindowView : public QMainWindow {
  public:
    MainWindowView(MainWindowForm& form, MainWindowController& controller, QWidget* parent = nullptr);

    // Adds a page view to the page area; the page's frame model shows and hides it.
    void addPage(QWidget* page);
    QWidget* pageArea() const { return pages_; }

    // Before the window is first shown: where it left off when that fits a screen, else its first size
    // (placeMainWindow).
    void openAt(const std::optional<WindowPlace>& remembered);
    // Where the window is now, to be remembered.
    WindowPlace place() const;

    // Runs once the window has closed for good (the shutdown let it close).
    std::function<void()> onClosed;

    QAction* menuCommand(int index) const { return commands_.at(index); }
    // The entry "Bewohnerübersicht" of the menu "Datensätze".
    QAction* overviewCommand() const { return overview_; }
    // The label of a status bar panel, counted from 1.
    QLabel* statusPanel(int number) const { return statusPanels_.at(number - 1); }

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    MainWindowController& controller_;
    QWidget* pages_;
    QVBoxLayout* pageLayout_;
    std::vector<QAction*> commands_;
    QAction* overview_ = nullptr;
    std::vector<QLabel*> statusPanels_;
};

}  // namespace pnl::ui
