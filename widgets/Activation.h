#pragma once
// Window activation, as the forms see it: a window's activation handler runs
// when that window becomes the active one of the program, and not again while
// it stays so.
//
// The code that shows a window reports the window that becomes active: after
// show(), after a modal window closes, after a modeless window is hidden and
// the main window enabled again. A report for the window that is already the
// last one reported does nothing. Real WindowActivate events are reported as
// well, but only for the windows made known here (setHandler or track), so
// that message boxes and other passing windows do not count.
//
// A disabled window never becomes active: its activation is not reported,
// and a shown window that is transient for it (the modeless window that
// disabled it) is raised and activated instead.
#include <QPointer>
#include <QWidget>
#include <functional>
#include <unordered_map>

namespace widgets {

class Activation {
public:
    static Activation& instance();

    // The handler of a window (its top-level window is taken). The entry goes
    // when the window is destroyed.
    enum class Runs {
        EveryActivation,  // each time the window becomes the active one
        OncePerOpening,   // the first activation after the window was shown from hidden
    };
    void setHandler(QWidget* window, std::function<void()> handler, Runs runs = Runs::EveryActivation);
    // Makes a window without handler count as an activation.
    void track(QWidget* window) { setHandler(window, {}); }
    bool isTracked(QWidget* window) const;

    // Records `window` (its top-level window) as the active one and, when it
    // was not the last one reported, runs its handler. An exception from the
    // handler goes to the caller; the window counts as active all the same.
    void report(QWidget* window);

    // Raises and activates the shown window that is transient for `window`
    // (the modeless window that disabled it) and reports it. False when
    // there is none.
    bool raiseWindowOver(QWidget* window);

    QWidget* lastActive() const { return last_.data(); }
    // Forgets the last active window (the handlers stay).
    void reset() { last_.clear(); }

private:
    Activation() = default;
    friend class ActivationFilter;
    struct Entry {
        std::function<void()> handler;
        Runs runs = Runs::EveryActivation;
        bool openingPending = true;
    };
    void ensureFilter();
    void shown(QWidget* window);
    void activatedByUser(QWidget* window);

    std::unordered_map<QWidget*, Entry> handlers_;
    QPointer<QWidget> last_;
    QPointer<QObject> filter_;
};

}  // namespace widgets
