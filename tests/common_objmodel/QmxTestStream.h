// An object stream for the tests, over a memory stream. Texts are an int32
// length and the bytes (length 0: the null text); objects are the class
// identifier as uint16 (0: no object) followed by what the object stores.
#pragma once

#include <string>

#include "classlib/Streams.h"
#include "common/QmxList.h"

class TQmxTestStream : public tQmxStream {
public:
    int Read(void* buffer, int count) override { return bytes_.Read(buffer, count); }
    int Write(const void* buffer, int count) override { return bytes_.Write(buffer, count); }
    std::int64_t Seek(std::int64_t offset, TSeekOrigin origin) override { return bytes_.Seek(offset, origin); }
    std::int64_t Size() override { return bytes_.Size(); }
    void SetSize(std::int64_t size) override { bytes_.SetSize(size); }

    std::string StrRead() override;
    void StrWrite(const std::string& Text) override;
    TObject* Get() override;
    void Put(TObject* Item) override;

    // The whole contents as bytes.
    std::string Bytes();
    // Replaces the contents; position 0.
    void SetBytes(const std::string& bytes);

private:
    TMemoryStream bytes_;
};
