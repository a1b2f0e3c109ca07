#include "classlib/Streams.h"

#include <windows.h>

#include <algorithm>
#include <cstring>

// ---- TStream ----

void TStream::ReadBuffer(void* buffer, int count)
{
    if (count != 0 && Read(buffer, count) != count)
        throw EReadError("Stream read error");
}

void TStream::WriteBuffer(const void* buffer, int count)
{
    if (count != 0 && Write(buffer, count) != count)
        throw EWriteError("Stream write error");
}

std::int64_t TStream::Size()
{
    std::int64_t pos = Seek(0, soCurrent);
    std::int64_t size = Seek(0, soEnd);
    Seek(pos, soBeginning);
    return size;
}

void TStream::SetSize(std::int64_t)
{
    // A stream that cannot change its size ignores the request.
}

std::int64_t TStream::CopyFrom(TStream& source, std::int64_t count)
{
    if (count == 0) {
        source.SetPosition(0);
        count = source.Size();
    }
    const std::int64_t total = count;
    std::vector<unsigned char> buffer(static_cast<std::size_t>(std::min<std::int64_t>(count, 0xF000)));
    while (count > 0) {
        int n = static_cast<int>(std::min<std::int64_t>(count, static_cast<std::int64_t>(buffer.size())));
        source.ReadBuffer(buffer.data(), n);
        WriteBuffer(buffer.data(), n);
        count -= n;
    }
    return total;
}

// ---- TMemoryStream ----

int TMemoryStream::Read(void* buffer, int count)
{
    if (count <= 0 || position_ >= Size())
        return 0;
    int n = static_cast<int>(std::min<std::int64_t>(count, Size() - position_));
    std::memcpy(buffer, data_.data() + position_, n);
    position_ += n;
    return n;
}

int TMemoryStream::Write(const void* buffer, int count)
{
    if (count <= 0)
        return 0;
    std::int64_t end = position_ + count;
    if (end > Size())
        data_.resize(static_cast<std::size_t>(end));  // a gap after a seek past the end reads as zeros
    std::memcpy(data_.data() + position_, buffer, count);
    position_ = end;
    return count;
}

std::int64_t TMemoryStream::Seek(std::int64_t offset, TSeekOrigin origin)
{
    switch (origin) {
    case soBeginning: position_ = offset; break;
    case soCurrent: position_ += offset; break;
    case soEnd: position_ = Size() + offset; break;
    }
    if (position_ < 0)
        position_ = 0;
    return position_;
}

void TMemoryStream::SetSize(std::int64_t size)
{
    if (size < 0)
        size = 0;
    data_.resize(static_cast<std::size_t>(size));
    if (position_ > size)
        position_ = size;
}

void TMemoryStream::Clear()
{
    data_.clear();
    data_.shrink_to_fit();
    position_ = 0;
}

void TMemoryStream::LoadFromStream(TStream& stream)
{
    stream.SetPosition(0);
    std::int64_t size = stream.Size();
    SetSize(size);
    if (size != 0)
        stream.ReadBuffer(data_.data(), static_cast<int>(size));
    position_ = 0;
}

void TMemoryStream::LoadFromFile(const std::string& fileName)
{
    TFileStream file(fileName, fmOpenRead | fmShareDenyWrite);
    LoadFromStream(file);
}

void TMemoryStream::SaveToStream(TStream& stream)
{
    if (!data_.empty())
        stream.WriteBuffer(data_.data(), static_cast<int>(data_.size()));
}

void TMemoryStream::SaveToFile(const std::string& fileName)
{
    TFileStream file(fileName, fmCreate);
    SaveToStream(file);
}

// ---- TFileStream ----

namespace {

DWORD ShareFlags(unsigned mode)
{
    switch (mode & 0xF0) {
    case fmShareDenyWrite: return FILE_SHARE_READ;
    case fmShareDenyRead: return FILE_SHARE_WRITE;
    case fmShareDenyNone: return FILE_SHARE_READ | FILE_SHARE_WRITE;
    default: return 0;  // compatible and exclusive: nobody else
    }
}

}  // namespace

TFileStream::TFileStream(const std::string& fileName, unsigned mode) : fileName_(fileName)
{
    if ((mode & fmCreate) == fmCreate) {
        handle_ = CreateFileA(fileName.c_str(), GENERIC_READ | GENERIC_WRITE, ShareFlags(mode), nullptr,
                              CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (handle_ == INVALID_HANDLE_VALUE)
            throw EFCreateError("Cannot create file " + fileName);
    } else {
        static const DWORD access[] = {GENERIC_READ, GENERIC_WRITE, GENERIC_READ | GENERIC_WRITE, 0};
        handle_ = CreateFileA(fileName.c_str(), access[mode & 3], ShareFlags(mode), nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
        if (handle_ == INVALID_HANDLE_VALUE)
            throw EFOpenError("Cannot open file " + fileName);
    }
}

TFileStream::~TFileStream()
{
    CloseHandle(handle_);
}

int TFileStream::Read(void* buffer, int count)
{
    DWORD done = 0;
    if (count <= 0 || !ReadFile(handle_, buffer, static_cast<DWORD>(count), &done, nullptr))
        return 0;
    return static_cast<int>(done);
}

int TFileStream::Write(const void* buffer, int count)
{
    DWORD done = 0;
    if (count <= 0 || !WriteFile(handle_, buffer, static_cast<DWORD>(count), &done, nullptr))
        return 0;
    return static_cast<int>(done);
}

std::int64_t TFileStream::Seek(std::int64_t offset, TSeekOrigin origin)
{
    LARGE_INTEGER distance, result;
    distance.QuadPart = offset;
    static const DWORD methods[] = {FILE_BEGIN, FILE_CURRENT, FILE_END};
    if (!SetFilePointerEx(handle_, distance, &result, methods[origin]))
        return -1;
    return result.QuadPart;
}

void TFileStream::SetSize(std::int64_t size)
{
    std::int64_t pos = Position();
    Seek(size, soBeginning);
    if (!SetEndOfFile(handle_)) {
        Seek(pos, soBeginning);
        throw EStreamError("Stream write error");
    }
    if (pos < size)
        Seek(pos, soBeginning);
}
