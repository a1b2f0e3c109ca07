#include "classlib/PngWriter.h"

#include <cstdint>
#include <utility>
#include <vector>

#include "classlib/WinHandles.h"

// The PNG's zlib stream is written here, with no library: one deflate block
// with the fixed Huffman codes and a greedy LZ77 search. Screen pictures are
// mostly flat colour and repeated rows, which that compresses well.

namespace {

std::uint32_t Crc32(const unsigned char* data, std::size_t size, std::uint32_t crc = 0)
{
    static const auto table = [] {
        std::vector<std::uint32_t> t(256);
        for (std::uint32_t n = 0; n < 256; ++n) {
            std::uint32_t c = n;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[n] = c;
        }
        return t;
    }();
    crc = ~crc;
    for (std::size_t i = 0; i < size; ++i)
        crc = table[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
    return ~crc;
}

std::uint32_t Adler32(const unsigned char* data, std::size_t size)
{
    std::uint32_t a = 1, b = 0;
    while (size > 0) {
        // 5552 bytes is the most that cannot overflow b before the modulo.
        std::size_t n = size < 5552 ? size : 5552;
        size -= n;
        while (n--) {
            a += *data++;
            b += a;
        }
        a %= 65521;
        b %= 65521;
    }
    return (b << 16) | a;
}

// Bits go out least significant first; Huffman codes most significant first.
class BitWriter {
public:
    explicit BitWriter(std::string& out) : out_(out) {}
    void Put(std::uint32_t bits, int count)
    {
        buffer_ |= bits << fill_;
        fill_ += count;
        while (fill_ >= 8) {
            out_.push_back(static_cast<char>(buffer_ & 0xFF));
            buffer_ >>= 8;
            fill_ -= 8;
        }
    }
    void PutCode(std::uint32_t code, int length)
    {
        std::uint32_t reversed = 0;
        for (int i = 0; i < length; ++i)
            reversed |= ((code >> i) & 1u) << (length - 1 - i);
        Put(reversed, length);
    }
    void Flush()
    {
        if (fill_ > 0)
            out_.push_back(static_cast<char>(buffer_ & 0xFF));
        buffer_ = 0;
        fill_ = 0;
    }

private:
    std::string& out_;
    std::uint32_t buffer_ = 0;
    int fill_ = 0;
};

const int kLengthBase[29] = {3,  4,  5,  6,  7,  8,  9,  10, 11,  13,  15,  17,  19,  23, 27,
                             31, 35, 43, 51, 59, 67, 83, 99, 115, 131, 163, 195, 227, 258};
const int kLengthExtra[29] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2, 2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
const int kDistBase[30] = {1,   2,   3,   4,   5,   7,    9,    13,   17,   25,   33,   49,   65,    97,    129,
                           193, 257, 385, 513, 769, 1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
const int kDistExtra[30] = {0, 0, 0, 0, 1, 1, 2, 2, 3, 3, 4, 4, 5, 5, 6, 6, 7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13};

void PutLiteralOrLength(BitWriter& bits, int symbol)
{
    if (symbol < 144)
        bits.PutCode(0x30 + symbol, 8);
    else if (symbol < 256)
        bits.PutCode(0x190 + symbol - 144, 9);
    else if (symbol < 280)
        bits.PutCode(symbol - 256, 7);
    else
        bits.PutCode(0xC0 + symbol - 280, 8);
}

void PutMatch(BitWriter& bits, int length, int distance)
{
    int i = 28;
    while (kLengthBase[i] > length)
        --i;
    PutLiteralOrLength(bits, 257 + i);
    bits.Put(static_cast<std::uint32_t>(length - kLengthBase[i]), kLengthExtra[i]);
    int j = 29;
    while (kDistBase[j] > distance)
        --j;
    bits.PutCode(static_cast<std::uint32_t>(j), 5);
    bits.Put(static_cast<std::uint32_t>(distance - kDistBase[j]), kDistExtra[j]);
}

// A zlib stream (RFC 1950) holding one fixed-Huffman deflate block (RFC 1951).
std::string ZlibCompress(const std::vector<unsigned char>& data)
{
    constexpr int kWindow = 32768;
    constexpr int kHashSize = 1 << 15;
    constexpr int kMaxChain = 64;
    constexpr int kMaxMatch = 258;

    std::string out;
    out.push_back(0x78);  // deflate, 32 KB window
    out.push_back(0x01);  // no preset dictionary; header is a multiple of 31
    BitWriter bits(out);
    bits.Put(1, 1);  // last block
    bits.Put(1, 2);  // fixed Huffman codes

    const int n = static_cast<int>(data.size());
    std::vector<int> head(kHashSize, -1);
    std::vector<int> prev(kWindow, -1);
    auto hashAt = [&](int pos) {
        return ((data[pos] << 10) ^ (data[pos + 1] << 5) ^ data[pos + 2]) & (kHashSize - 1);
    };
    auto insert = [&](int pos) {
        if (pos + 2 >= n)
            return;
        int h = hashAt(pos);
        prev[pos & (kWindow - 1)] = head[h];
        head[h] = pos;
    };

    int pos = 0;
    while (pos < n) {
        int bestLength = 0, bestDistance = 0;
        if (pos + 2 < n) {
            const int limit = n - pos < kMaxMatch ? n - pos : kMaxMatch;
            int candidate = head[hashAt(pos)];
            for (int chain = 0; candidate >= 0 && pos - candidate <= kWindow && chain < kMaxChain; ++chain) {
                int length = 0;
                while (length < limit && data[candidate + length] == data[pos + length])
                    ++length;
                if (length > bestLength) {
                    bestLength = length;
                    bestDistance = pos - candidate;
                    if (length == limit)
                        break;
                }
                int next = prev[candidate & (kWindow - 1)];
                if (next >= candidate)
                    break;  // the slot was reused by a newer position
                candidate = next;
            }
        }
        if (bestLength >= 3) {
            PutMatch(bits, bestLength, bestDistance);
            for (int i = 0; i < bestLength; ++i)
                insert(pos + i);
            pos += bestLength;
        } else {
            PutLiteralOrLength(bits, data[pos]);
            insert(pos);
            ++pos;
        }
    }
    PutLiteralOrLength(bits, 256);  // end of block
    bits.Flush();

    std::uint32_t adler = Adler32(data.data(), data.size());
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<char>((adler >> shift) & 0xFF));
    return out;
}

void PutUint32(std::string& out, std::uint32_t value)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<char>((value >> shift) & 0xFF));
}

void PutChunk(std::string& out, const char* type, const std::string& data)
{
    PutUint32(out, static_cast<std::uint32_t>(data.size()));
    std::string body = std::string(type, 4) + data;
    out += body;
    PutUint32(out, Crc32(reinterpret_cast<const unsigned char*>(body.data()), body.size()));
}

} // namespace

std::string EncodePng(int width, int height, const unsigned char* rgb, int stride)
{
    // Each row starts with its filter type, 0 (none).
    std::vector<unsigned char> raw;
    raw.reserve(static_cast<std::size_t>(height) * (static_cast<std::size_t>(width) * 3 + 1));
    for (int y = 0; y < height; ++y) {
        raw.push_back(0);
        const unsigned char* row = rgb + static_cast<std::size_t>(y) * stride;
        raw.insert(raw.end(), row, row + static_cast<std::size_t>(width) * 3);
    }

    std::string png("\x89PNG\r\n\x1a\n", 8);
    std::string header;
    PutUint32(header, static_cast<std::uint32_t>(width));
    PutUint32(header, static_cast<std::uint32_t>(height));
    header += std::string("\x08\x02\x00\x00\x00", 5);  // 8 bits, RGB, deflate, no filter choice, no interlace
    PutChunk(png, "IHDR", header);
    PutChunk(png, "IDAT", ZlibCompress(raw));
    PutChunk(png, "IEND", std::string());
    return png;
}

void SaveBitmapToPng(TBitmap* bitmap, const std::string& fileName)
{
    if (!bitmap || bitmap->Empty())
        throw EInvalidGraphic("Cannot save an empty bitmap");
    const int width = bitmap->Width(), height = bitmap->Height();
    // GetDIBits wants the bitmap selected nowhere.
    bitmap->Dormant();
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    const int stride = (width * 3 + 3) & ~3;
    std::vector<unsigned char> pixels(static_cast<std::size_t>(stride) * height);
    {
        TWindowDC screen;
        if (GetDIBits(screen.Get(), bitmap->Handle(), 0, static_cast<UINT>(height), pixels.data(), &info,
                      DIB_RGB_COLORS) != height)
            throw EInvalidGraphic("Cannot read the bitmap's pixels");
    }
    // DIB rows are blue, green, red.
    for (int y = 0; y < height; ++y) {
        unsigned char* p = pixels.data() + static_cast<std::size_t>(y) * stride;
        for (int x = 0; x < width; ++x, p += 3)
            std::swap(p[0], p[2]);
    }
    const std::string png = EncodePng(width, height, pixels.data(), stride);

    TFileHandle file(
        CreateFileA(fileName.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.Valid())
        throw EFCreateError("Cannot create file \"" + fileName + "\". " + SysErrorMessage(GetLastError()));
    DWORD written = 0;
    if (!WriteFile(file.Get(), png.data(), static_cast<DWORD>(png.size()), &written, nullptr) || written != png.size())
        throw EWriteError("Stream write error");
}

std::unique_ptr<TBitmap> CaptureWindow(HWND wnd)
{
    RECT r{};
    if (!GetWindowRect(wnd, &r)) {
        const DWORD error = GetLastError();
        throw EOSError("Cannot capture the window: " + SysErrorMessage(error), error);
    }
    auto bitmap = std::make_unique<TBitmap>(r.right - r.left, r.bottom - r.top, pf24bit);
    if (!bitmap->Empty()) {
        TWindowDC source(wnd, true);
        BitBlt(bitmap->Canvas()->Handle(), 0, 0, bitmap->Width(), bitmap->Height(), source.Get(), 0, 0, SRCCOPY);
        bitmap->Dormant();
    }
    return bitmap;
}

void SaveWindowToPng(HWND wnd, const std::string& fileName)
{
    SaveBitmapToPng(CaptureWindow(wnd).get(), fileName);
}
