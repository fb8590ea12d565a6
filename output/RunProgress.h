#pragma once

// Thrown out of a run when the user cancelled it.
struct RunCancelled {};

// Word of a long run, told of every value done. Showing it and offering
// Cancel belongs to the window side (ProgressWindow); the run only counts.
class RunProgress {
public:
    virtual ~RunProgress() = default;

    // One more value done; raises RunCancelled when the user cancelled. A
    // short run costs one counter a value.
    void step(long long done)
    {
        if ((++m_calls & 15) == 0)
            look(done);
    }

protected:
    virtual void look(long long done) = 0;

private:
    unsigned m_calls = 0;
};
