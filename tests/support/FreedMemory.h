// Memory that nothing can read once it is freed, for the tests of handlers
// that free the object whose event they handle: code that reads such an
// object afterwards fails at once (and the test program with it), instead of
// taking whatever the heap left there.
//
// A test program takes it by listing tests/support/FreedMemory.cpp among its
// own sources: that file replaces the program's operator new and delete.
#pragma once

// While one lives, every block operator new gives lies on pages of its own,
// which become unreadable when the block is freed; their addresses are never
// given out again.
class UnreadableOnceFreed {
public:
    UnreadableOnceFreed();
    ~UnreadableOnceFreed();
    UnreadableOnceFreed(const UnreadableOnceFreed&) = delete;
    UnreadableOnceFreed& operator=(const UnreadableOnceFreed&) = delete;
};

// A component (without owner) for a handler to free, made so that neither it
// nor anything its constructor allocated (a client's socket, a socket's
// window) can be read once it is freed.
template <class T>
struct Poisoned {
    T* object = Make();
    bool freed = false;

    Poisoned() = default;
    Poisoned(const Poisoned&) = delete;
    Poisoned& operator=(const Poisoned&) = delete;
    ~Poisoned() { Free(); }
    void Free()
    {
        if (freed)
            return;
        freed = true;
        delete object;
    }

private:
    static T* Make()
    {
        UnreadableOnceFreed unreadable;
        return new T(nullptr);
    }
};
