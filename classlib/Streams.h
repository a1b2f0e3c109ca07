// Streams of bytes: in memory and over files.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "classlib/Classes.h"

enum TSeekOrigin { soBeginning = 0, soCurrent = 1, soEnd = 2 };

// A sequence of bytes with a position. Read and Write move as many bytes as
// they can and say how many; ReadBuffer and WriteBuffer insist on all.
class TStream : public TObject {
public:
    virtual int Read(void* buffer, int count) = 0;
    virtual int Write(const void* buffer, int count) = 0;
    // The new position.
    virtual std::int64_t Seek(std::int64_t offset, TSeekOrigin origin) = 0;

    // Raise EReadError / EWriteError when fewer than count bytes move.
    void ReadBuffer(void* buffer, int count);
    void WriteBuffer(const void* buffer, int count);

    std::int64_t Position() { return Seek(0, soCurrent); }
    void SetPosition(std::int64_t position) { Seek(position, soBeginning); }
    virtual std::int64_t Size();
    virtual void SetSize(std::int64_t size);

    // Copies count bytes from source's position; count 0 copies the whole
    // source from its start. Gives the number of bytes copied.
    std::int64_t CopyFrom(TStream& source, std::int64_t count);
};

// A stream held in memory; Memory stays valid until the size changes.
class TMemoryStream : public TStream {
public:
    int Read(void* buffer, int count) override;
    int Write(const void* buffer, int count) override;
    std::int64_t Seek(std::int64_t offset, TSeekOrigin origin) override;
    std::int64_t Size() override { return static_cast<std::int64_t>(data_.size()); }
    void SetSize(std::int64_t size) override;

    void* Memory() { return data_.data(); }
    const void* Memory() const { return data_.data(); }
    void Clear();

    // Replace the contents with the whole stream or file; position 0.
    void LoadFromStream(TStream& stream);
    void LoadFromFile(const std::string& fileName);
    // Write the whole contents, whatever the position.
    void SaveToStream(TStream& stream);
    void SaveToFile(const std::string& fileName);

private:
    std::vector<unsigned char> data_;
    std::int64_t position_ = 0;
};

// Open modes of TFileStream: one access mode or'ed with one share mode.
enum : unsigned {
    fmCreate = 0xFF00,  // create or empty the file, open for reading and writing
    fmOpenRead = 0x0000,
    fmOpenWrite = 0x0001,
    fmOpenReadWrite = 0x0002,
    fmShareCompat = 0x0000,  // like fmShareExclusive
    fmShareExclusive = 0x0010,
    fmShareDenyWrite = 0x0020,
    fmShareDenyRead = 0x0030,
    fmShareDenyNone = 0x0040,
};

// A stream over a file opened by name. Raises EFCreateError or EFOpenError
// (with the file name in the text) when the file cannot be had.
class TFileStream : public TStream {
public:
    TFileStream(const std::string& fileName, unsigned mode);
    ~TFileStream() override;
    TFileStream(const TFileStream&) = delete;
    TFileStream& operator=(const TFileStream&) = delete;

    int Read(void* buffer, int count) override;
    int Write(const void* buffer, int count) override;
    std::int64_t Seek(std::int64_t offset, TSeekOrigin origin) override;
    void SetSize(std::int64_t size) override;

    const std::string& FileName() const { return fileName_; }
    void* Handle() const { return handle_; }

private:
    std::string fileName_;
    void* handle_;  // the file's handle, closed by the destructor
};
