#include "common/WSockbuf.h"

#include <algorithm>
#include <cstring>

namespace {
constexpr int DefaultBlockSize = 1514;
}

TBuffer::TBuffer(int size)
{
    SetSize(size);
}

void TBuffer::SetSize(int size)
{
    if (size <= 0)
        size = DefaultBlockSize;
    if (size == Size())
        return;
    std::vector<unsigned char> block(static_cast<size_t>(size));
    // Unsent bytes move to the front of the new block, as many as fit.
    const int keep = std::min(writeCount_ - readCount_, size);
    if (keep > 0)
        std::memcpy(block.data(), data_.data() + readCount_, static_cast<size_t>(keep));
    data_.swap(block);
    writeCount_ = std::max(keep, 0);
    readCount_ = 0;
}

int TBuffer::Write(const void* data, int len)
{
    const int n = std::min(len, Size() - writeCount_);
    if (n <= 0)
        return 0;
    std::memcpy(data_.data() + writeCount_, data, static_cast<size_t>(n));
    writeCount_ += n;
    return n;
}

const unsigned char* TBuffer::Peek(int& len) const
{
    len = writeCount_ - readCount_;
    if (len <= 0) {
        len = 0;
        return nullptr;
    }
    return data_.data() + readCount_;
}

int TBuffer::Remove(int len)
{
    const int n = std::max(0, std::min(len, writeCount_ - readCount_));
    readCount_ += n;
    if (readCount_ >= writeCount_) {
        readCount_ = 0;
        writeCount_ = 0;
    }
    return n;
}
