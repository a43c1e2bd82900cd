#pragma once
// `terrix --screenshots DIR`: a list of named steps, each run once in English and once in German, each
// saving one or more pictures into DIR as <picture>_<en|de>.png. Window work adds its steps in
// RegisterTourSteps (screenshot_tour.cpp), one AddStep call per step. The pictures are rendered by the
// widgets themselves (QWidget::grab), so no window manager or X server is needed: the offscreen platform
// serves. The run ends with status 0 only when every step worked; a failing step names itself on standard
// error.
//
// Steps run on whatever COM1 is (the built-in simulated bus, a device or a pseudo-terminal): a step that
// uses the bus shows its window whatever the bus answers, and fails only when the window itself does.

#include "gui/toolkit/message_box.h"

#include <QMessageBox>
#include <QString>

#include <functional>
#include <initializer_list>
#include <vector>

class QWidget;

namespace terrix {

class CMainFrame;

// What a step works with.
// While it exists, every message box of a tour step is written to standard error and answered at once with
// `preferred` when the box offers it, else OK: the tour never stops at a box.
class TourMessageAnswer {
public:
    explicit TourMessageAnswer(QMessageBox::StandardButton preferred);
    ~TourMessageAnswer();
    TourMessageAnswer(const TourMessageAnswer&) = delete;
    TourMessageAnswer& operator=(const TourMessageAnswer&) = delete;

private:
    MessageHandler previous_;
};

class TourContext {
public:
    TourContext(CMainFrame& frame, QString directory, QString language)
        : frame_(frame), dir_(std::move(directory)), language_(std::move(language)) {}

    CMainFrame& Frame() const { return frame_; }
    // "en" or "de".
    QString Language() const { return language_; }
    // Saves <picture>_<language>.png: the frame with `windows` (dialogs, menus) drawn over it where they
    // stand; without the frame when `withFrame` is false. False (and a line on standard error) on failure.
    bool Shoot(const QString& picture, std::initializer_list<QWidget*> windows = {}, bool withFrame = true);
    // Lets queued events and layouts settle for `ms` milliseconds (a window just shown, a bus answer).
    static void Settle(int ms = 50);
    // Lets events run until `done` is true or `limitMs` have passed (a window's bus job); returns `done()`.
    static bool SettleUntil(const std::function<bool()>& done, int limitMs = 30000);
    // Runs a step's own bus set-up on a worker thread, as the windows run their bus work, while events go
    // on (a window shows the traffic); returns once it is done.
    static void RunBusWork(const std::function<void()>& work);

private:
    CMainFrame& frame_;
    QString dir_;
    QString language_;
};

// A step shows what it pictures (modeless: show(), never exec()), shoots it and closes it again; it returns
// false when something it needed did not work.
using TourStep = std::function<bool(TourContext& tour)>;

class CScreenshotTour {
public:
    void AddStep(const QString& name, TourStep step);
    const std::vector<std::pair<QString, TourStep>>& Steps() const { return steps_; }

    // Runs every step in English, then in German; returns the number of failed steps.
    int Run(CMainFrame& frame, const QString& directory);

private:
    std::vector<std::pair<QString, TourStep>> steps_;
};

// Every step of the program, in the order of the tour.
void RegisterTourSteps(CScreenshotTour& tour);

// Runs the tour once the event loop runs, then ends the program (exit status 0 when every step worked).
void StartScreenshotTour(CMainFrame* frame, const QString& directory);

} // namespace terrix
