#pragma once
// SIGTERM, SIGINT and SIGHUP as a readable descriptor, so that the event loop can wait for them
// and for X events in one poll and shut down between two events, never inside a handler.

class TerminationSignals {
public:
    // Blocks the signals for the process and opens a signalfd for them; Descriptor() is -1 when
    // that failed.
    TerminationSignals();
    ~TerminationSignals();
    TerminationSignals(const TerminationSignals&) = delete;
    TerminationSignals& operator=(const TerminationSignals&) = delete;

    int Descriptor() const { return m_fd; }

private:
    int m_fd;
};
