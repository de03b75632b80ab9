#pragma once
// The busy cursor of a print job or a file write: the work is not a frame,
// so once it has taken longer than a moment (100 ms) the pointer says the
// program is busy, until the work is done, whichever way it ends (an error
// raised included).

#include <QElapsedTimer>
#include <memory>

class QTimer;

namespace tav {

class BusyCursor {
public:
    // The work starts now.
    BusyCursor();
    ~BusyCursor();
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;

    // A point the work passes: shows the busy cursor once the work has gone
    // on for longer than the threshold. The event loop, if the work lets it
    // run, shows it at the threshold too.
    void progress();
    // The work is done: the pointer is restored now.
    void release();
    bool shown() const { return shown_; }

    // While a message box waits for the user, the pointer is the ordinary
    // one: the busy cursors shown are lifted and come back after it.
    class Paused {
    public:
        Paused();
        ~Paused();
        Paused(const Paused&) = delete;
        Paused& operator=(const Paused&) = delete;
    };

    // Tests: the threshold in milliseconds (0: at the first progress); a
    // negative value restores the 100 ms.
    static void setThresholdForTesting(int ms);

private:
    void show();

    QElapsedTimer clock_;
    std::unique_ptr<QTimer> timer_;
    bool shown_ = false;
    bool released_ = false;
};

} // namespace tav
