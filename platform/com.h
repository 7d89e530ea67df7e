// The per-thread initialise/release pairing that the program keeps where it once initialised COM.
// Linux has no COM; the counter keeps the pairing visible, so tests can check that every
// initialisation is undone on every road.
#pragma once

namespace platform::com {

// Adds one nesting level on the calling thread.
void Initialize();

// Removes one nesting level on the calling thread; never goes below zero.
void Uninitialize();

// The calling thread's nesting level.
int Depth();

// One Initialize for the scope's lifetime.
class Scope {
public:
    Scope() { Initialize(); }
    ~Scope() { Uninitialize(); }
    Scope(const Scope&) = delete;
    Scope& operator=(const Scope&) = delete;
};

}  // namespace platform::com
