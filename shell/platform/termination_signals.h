#pragma once
// SIGTERM and SIGINT end a show the ordinary way (music stopped, cursor back) instead of
// killing the shell mid-sound: the handler only writes the signal's number into a pipe,
// and the Qt event loop reads it.
#include <QObject>
#include <functional>

class QSocketNotifier;

namespace quorlane {

class TerminationSignals : public QObject {
public:
    // Installs the handlers; onSignal runs on the event loop with the signal's number.
    explicit TerminationSignals(std::function<void(int)> onSignal, QObject* parent = nullptr);
    ~TerminationSignals() override;

private:
    void readPending();

    std::function<void(int)> onSignal_;
    QSocketNotifier* notifier_ = nullptr;
};

}  // namespace quorlane
