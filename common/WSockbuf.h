// One block of the socket's send queue: bytes stored and not yet sent, in a
// block of fixed size that is refilled once everything stored has gone out.
#pragma once

#include <vector>

#include "classlib/Classes.h"

class TBuffer : public TObject {
public:
    // A size of 0 or less means 1514, the payload of one Ethernet frame.
    explicit TBuffer(int size);

    // A new block of that size, keeping the unsent bytes.
    void SetSize(int size);
    int Size() const { return static_cast<int>(data_.size()); }
    // Copies as many of the bytes as fit after the stored ones; their number.
    int Write(const void* data, int len);
    // The first unsent byte and how many there are; nullptr and 0 for none.
    const unsigned char* Peek(int& len) const;
    // Marks up to len unsent bytes as sent; their number. Once every stored
    // byte is sent the block is empty again.
    int Remove(int len);

private:
    std::vector<unsigned char> data_;
    int writeCount_ = 0;
    int readCount_ = 0;
};
