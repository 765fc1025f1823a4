#pragma once

// How the long CAM loops talk to whoever runs them: they report progress,
// let the window system breathe, and ask whether the user wants to stop.
// The program gives them a sink that drives its progress bar and message
// pump; tests and benchmarks run them headless.

// The last key the shell saw; Esc (27) stops the long CAM loops. The shell
// sets it from its key handling and when the option page changes.
extern unsigned char LastKey;
inline constexpr unsigned char ESCAPE_KEY = 27;

class TProgressSink {
public:
    virtual ~TProgressSink() = default;
    // 0 to 100.
    virtual void SetProgress(int percent) = 0;
    // Runs the message loop once, so that repaints and the Esc key get through.
    virtual void PumpMessages() = 0;
    virtual bool Aborted() = 0;
};

// No bar and no message loop; stops when LastKey holds Esc.
class TLastKeyProgressSink : public TProgressSink {
public:
    void SetProgress(int percent) override;
    void PumpMessages() override;
    bool Aborted() override;
};

TProgressSink& DefaultProgressSink();
