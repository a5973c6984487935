#pragma once
// The engine is built with hidden symbols; what the desktop program, the batch program, the reader modules and a
// lab's own plug-in call is marked with CORVELIN_ENGINE_EXPORT (classes, free functions and extern data declared
// in the engine's headers). Inline functions and templates need no mark.
#define CORVELIN_ENGINE_EXPORT __attribute__((visibility("default")))
