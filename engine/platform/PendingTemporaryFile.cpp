#include "engine/platform/PendingTemporaryFile.h"

#include <atomic>
#include <csignal>
#include <cstring>
#include <unistd.h>

namespace corvelin {

namespace {

constexpr int kSlots = 16;
constexpr std::size_t kPathBytes = 4096;

// Each slot: its path, written before the slot is marked used, read by the signal handler only while used.
struct Slot {
    std::atomic<bool> used{false};
    std::atomic<bool> claimed{false};
    char path[kPathBytes];
};
Slot g_slots[kSlots];

extern "C" void OnTerminatingSignal(int signal)
{
    RemovePendingTemporaryFiles();
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

} // namespace

CPendingTemporaryFile::CPendingTemporaryFile(const std::string& path) noexcept
{
    if (path.size() >= kPathBytes)
        return;
    for (int i = 0; i < kSlots; ++i) {
        bool expected = false;
        if (g_slots[i].claimed.compare_exchange_strong(expected, true)) {
            std::memcpy(g_slots[i].path, path.c_str(), path.size() + 1);
            g_slots[i].used.store(true);
            m_slot = i;
            return;
        }
    }
}

CPendingTemporaryFile::~CPendingTemporaryFile()
{
    if (m_slot < 0)
        return;
    g_slots[m_slot].used.store(false);
    g_slots[m_slot].claimed.store(false);
}

void RemovePendingTemporaryFiles() noexcept
{
    for (Slot& slot : g_slots)
        if (slot.used.load())
            ::unlink(slot.path);
}

void InstallTemporaryFileCleanup()
{
    struct sigaction action {};
    action.sa_handler = OnTerminatingSignal;
    sigemptyset(&action.sa_mask);
    ::sigaction(SIGINT, &action, nullptr);
    ::sigaction(SIGTERM, &action, nullptr);
}

} // namespace corvelin
