#pragma once
// A one-line progress bar on stderr while a search runs, drawn only when stderr is a terminal.
#include <cstdio>

namespace corvelin {

class ProgressBar {
public:
    explicit ProgressBar(std::FILE* out = stderr);
    ~ProgressBar() { Clear(); }
    void SetRange(int total);
    // One more entry done.
    void Step();
    // Removes the bar from the terminal line (before other output).
    void Clear();
    static void ClearHook(void* self) { static_cast<ProgressBar*>(self)->Clear(); }

private:
    void Draw();
    std::FILE* m_out;
    bool m_enabled;
    bool m_shown = false;
    int m_total = 0;
    int m_done = 0;
    int m_lastCells = -1;
};

} // namespace corvelin
