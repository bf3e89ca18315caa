// Under a real window manager (run by tests/wm/run-under-openbox): a transfer to the sample's stations whose
// line fails while the first station is sent. No box of the program's own stops the run: the dialog's status
// line says that the line failed and that the run goes on, and the summary at the end has the station's row.
// The pauses of the run pass fifty times faster, so the test takes a few seconds.

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QTimer>
#include <cstdlib>
#include <filesystem>
#include <iostream>

#include "forms/transfer_dialog.h"
#include "platform/file_system.h"
#include "platform/qt/qt_dialogs.h"
#include "platform/qt/qt_event_loop.h"
#include "stations/transfer_dialog.h"
#include "support/installation.h"
#include "tools/sample/sample_installation.h"
#include "ui/setup_application.h"
#include "ui/transfer_dialog_view.h"

namespace {

// Qt's loop with every interval cut fifty-fold: the 22 s before the first station take half a second.
class HurriedLoop : public pnl::EventLoop {
  public:
    int startTimer(Milliseconds interval, bool repeat, Callback callback) override {
        return loop_.startTimer(interval / 50, repeat, std::move(callback));
    }
    void stopTimer(int id) override { loop_.stopTimer(id); }
    int watchReadable(int fd, Callback callback) override {
        return loop_.watchReadable(fd, std::move(callback));
    }
    void unwatch(int id) override { loop_.unwatch(id); }
    void processEventsUntil(const std::function<bool()>& done) override { loop_.processEventsUntil(done); }
    const pnl::Clock& clock() const override { return loop_.clock(); }

  private:
    pnl::QtEventLoop loop_;
};

// A line that takes every byte but the third frame's.
class BreakingLine : public pnl::SerialPort {
  public:
    void setCommPort(int number) override { port_ = number; }
    int commPort() const override { return port_; }
    bool setSettings(const std::string&) override { return true; }
    void setDTREnable(bool) override {}
    void setRTSEnable(bool) override {}
    void setHandshaking(int) override {}
    bool isOpen() const override { return open_; }
    bool open(std::string* = nullptr) override { return open_ = true; }
    void close() override { open_ = false; }
    bool output(const std::string&) override { return ++frames_ != 3; }
    bool drain() override { return true; }
    bool carrierDetect() const override { return false; }
    void setReceiveHandler(ReceiveHandler) override {}

  private:
    int port_ = 0;
    bool open_ = false;
    int frames_ = 0;
};

}  // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() /
        ("pnl-wm-line-" + std::to_string(QCoreApplication::applicationPid()));
    std::string error;
    if (!pnl::writeSampleInstallation(folder.string(), &error, true)) {
        std::cerr << error << '\n';
        return 1;
    }
    int status = 1;
    {
        pnl::PosixFileSystem fs;
        HurriedLoop loop;
        pnl::QtDialogs dialogs;
        BreakingLine line;
        pnl::test::FakePortQueries ports;
        pnl::test::TestPortDevices devices;
        pnl::ui::SetupApplication setup(pnl::Platform{fs, loop, dialogs, line, ports}, devices.services,
                                        folder.string());
        setup.start(5);
        setup.mainWindow().openTransfer();
        setup.transferController().selectAll();

        // Every box shown while the run lasts, and the status lines that told the failure.
        std::vector<std::string> boxes;
        std::string failureLine;
        const int watch = setup.transferForm().status.subscribe([&] {
            const QString shown = setup.transferWindow()->statusLine()->text();
            if (failureLine.empty() && shown.contains("Leitung gestört"))
                failureLine = shown.toStdString();
        });
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box || box->property("seen").toBool())
                return;
            box->setProperty("seen", true);
            boxes.push_back(box->text().toStdString());
            // The summary asks whether to try again: "Nein". Any other box is answered so the test ends.
            for (QAbstractButton* button : box->buttons())
                if (button->text() == "&Nein" || button->text() == "&OK")
                    button->click();
        });
        poll.start(50);
        QTimer::singleShot(30000, [] {
            std::cerr << "Der Transfer ist nicht zu Ende gegangen.\n";
            std::_Exit(1);
        });
        setup.transferController().startTransfer();
        setup.transferForm().status.unsubscribe(watch);

        const bool oneBox = boxes.size() == 1 && boxes[0].find("PNL übertragen.") != std::string::npos;
        const bool summaryRow =
            oneBox && boxes[0].find(": Leitung gestört, die PNL ist unvollständig\n") != std::string::npos;
        const bool toldInStatus =
            failureLine.find(
                "Leitung gestört, die PNL ist unvollständig – weiter: PNL 2 von 3: Nebeneingang") !=
            std::string::npos;
        for (const std::string& text : boxes)
            std::cout << "Meldung: " << text << "\n";
        std::cout << "Statuszeile: " << failureLine << '\n';
        status = oneBox && summaryRow && toldInStatus ? 0 : 1;
    }
    std::filesystem::remove_all(folder);
    return status;
}
