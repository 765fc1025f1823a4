#include "platform/ProcessRunner.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QKeyEvent>
#include <QProcess>
#include <QTimer>

TProcessResult TProcessRunner::Run(const QString& program, const QStringList& arguments)
{
    TProcessResult result;
    if (Process)
        return result;
    QProcess process;
    process.setProgram(program);
    process.setArguments(arguments);
    // Nothing goes in; what comes out on stdout is not wanted.
    process.setStandardInputFile(QProcess::nullDevice());
    process.setStandardOutputFile(QProcess::nullDevice());
    StopAsked = false;
    process.start();
    if (!process.waitForStarted()) {
        result.ErrorText = process.errorString();
        return result;
    }
    Process = &process;

    QEventLoop loop;
    QObject::connect(&process, &QProcess::finished, &loop, &QEventLoop::quit);
    TProgressSequence progress;
    QTimer beat;
    QObject::connect(&beat, &QTimer::timeout, &loop, [&] {
        progress.Advance();
        if (OnProgress)
            OnProgress(progress.Current());
    });
    if (OnProgress)
        OnProgress(progress.Current());
    beat.start(BeatMilliseconds);
    QCoreApplication::instance()->installEventFilter(this);
    // The program may have ended before the loop could see it.
    if (process.state() != QProcess::NotRunning)
        loop.exec();
    QCoreApplication::instance()->removeEventFilter(this);
    beat.stop();
    process.waitForFinished(-1);
    Process = nullptr;

    result.ErrorText = QString::fromLocal8Bit(process.readAllStandardError()).trimmed();
    if (StopAsked) {
        result.Outcome = TProcessResult::TOutcome::Stopped;
    } else if (process.exitStatus() == QProcess::CrashExit) {
        result.Outcome = TProcessResult::TOutcome::Crashed;
        if (result.ErrorText.isEmpty())
            result.ErrorText = process.errorString();
    } else {
        result.Outcome = TProcessResult::TOutcome::Exited;
        result.ExitCode = process.exitCode();
    }
    return result;
}

void TProcessRunner::Stop()
{
    if (!Process)
        return;
    StopAsked = true;
    Process->kill();
}

bool TProcessRunner::IsStopControl(const QObject* object) const
{
    for (; object; object = object->parent())
        for (const QObject* stop : StopControls)
            if (object == stop)
                return true;
    return false;
}

bool TProcessRunner::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::KeyPress:
        if (static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape)
            Stop();
        return true;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        if (IsStopControl(watched))
            Stop();
        return true;
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::Shortcut:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseMove:
    case QEvent::Wheel:
    case QEvent::ContextMenu:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    // The window must not close while it waits inside one of its own handlers.
    case QEvent::Close:
        event->ignore();
        return true;
    default:
        return QObject::eventFilter(watched, event);
    }
}
