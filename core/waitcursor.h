#pragma once

// Shows the wait cursor for its lifetime (or until release()); does nothing without a GUI.
class WaitCursor {
public:
    WaitCursor();
    ~WaitCursor() { release(); }
    WaitCursor(const WaitCursor &) = delete;
    WaitCursor &operator=(const WaitCursor &) = delete;
    void release();

private:
    bool m_on = false;
};
