#pragma once
// The desktop program's "--help" text (printed before any window exists, so it works without a display).

namespace corvelin {

const char* DesktopUsage() noexcept;

} // namespace corvelin
