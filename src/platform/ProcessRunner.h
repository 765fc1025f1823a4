#pragma once

// Runs another program and waits for it without freezing the window: the
// window keeps painting while input to it is held back, and Esc or a press
// on one of the stop controls ends the program. Progress is reported on a
// fixed beat, since the program says nothing about how far it has come.

#include <functional>
#include <vector>

#include <QObject>
#include <QString>
#include <QStringList>

class QProcess;

// The progress shown while waiting: 10, 20, ..., 100, then 0 and round again.
class TProgressSequence {
public:
    int Current() const { return Value; }
    void Advance() { Value = Value < 100 ? Value + 10 : 0; }

private:
    int Value = 10;
};

struct TProcessResult {
    enum class TOutcome {
        // The program ended by itself; ExitCode holds its code.
        Exited,
        // The program could not be started.
        NotStarted,
        // The program crashed or was killed from outside.
        Crashed,
        // The user stopped it.
        Stopped,
    };
    TOutcome Outcome = TOutcome::NotStarted;
    int ExitCode = -1;
    // What the program wrote on its error output, or why it did not start.
    QString ErrorText;

    bool Succeeded() const { return Outcome == TOutcome::Exited && ExitCode == 0; }
};

class TProcessRunner : public QObject {
    Q_OBJECT

public:
    // Called with each progress value while the program runs: 500 ms apart, and once at the start.
    std::function<void(int)> OnProgress;
    // Presses on these objects (or inside them) stop the program; all other input waits.
    std::vector<QObject*> StopControls;
    // The beat of the progress reports.
    int BeatMilliseconds = 500;

    // Starts program with the arguments (no shell, no quoting), hidden, in
    // the caller's folder and environment, and returns once it has ended.
    TProcessResult Run(const QString& program, const QStringList& arguments);
    // Ends the running program; Run then returns Stopped.
    void Stop();
    bool Running() const { return Process != nullptr; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool IsStopControl(const QObject* object) const;

    QProcess* Process = nullptr;
    bool StopAsked = false;
};
