#pragma once
// The base of every binder: mirrors one control model into one Qt object (enabled, visible, tip, and whatever
// the control kind adds) and forwards the object's user events to the controller. A binder is a child of its
// Qt object, so it goes when the widget goes; the models outlive the windows.

#include <QObject>
#include <QString>
#include <string>

#include "forms/controls.h"

class QWidget;

namespace pnl::ui {

inline QString qt(const std::string& text) {
    return QString::fromStdString(text);
}
inline std::string str(const QString& text) {
    return text.toStdString();
}

// A caption with a keyboard mnemonic: '&' goes before the first occurrence of `letter` (any case); a literal
// '&' of the caption stays visible.
QString withMnemonic(const std::string& caption, QChar letter);

class Binder : public QObject {
  public:
    Binder(QObject* target, Control& model);
    ~Binder() override;
    Binder(const Binder&) = delete;
    Binder& operator=(const Binder&) = delete;

    Control& model() const { return *model_; }

  protected:
    // Applies the model to the Qt object. Every binder calls it once at the end of its constructor.
    virtual void refresh() = 0;
    // Enabled, visible and tip of a widget, as every control has them.
    void refreshWidget(QWidget* widget) const;
    // True while refresh() runs, so that signals the binder itself causes are not taken for user events.
    bool applying() const { return applying_; }
    void apply();

  private:
    Control* model_;
    int subscription_ = 0;
    bool applying_ = false;
};

}  // namespace pnl::ui
