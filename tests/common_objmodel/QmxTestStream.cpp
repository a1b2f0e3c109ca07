#include "tests/common_objmodel/QmxTestStream.h"

#include <cstdint>
#include <memory>

std::string TQmxTestStream::StrRead()
{
    std::int32_t n;
    ReadBuffer(&n, sizeof n);
    if (n < 0)
        throw EReadError("bad text length");
    std::string s(static_cast<std::size_t>(n), '\0');
    if (n > 0)
        ReadBuffer(s.data(), n);
    return s;
}

void TQmxTestStream::StrWrite(const std::string& Text)
{
    const std::int32_t n = static_cast<std::int32_t>(Text.size());
    WriteBuffer(&n, sizeof n);
    if (n > 0)
        WriteBuffer(Text.data(), n);
}

TObject* TQmxTestStream::Get()
{
    std::uint16_t id;
    ReadBuffer(&id, sizeof id);
    if (id == 0)
        return nullptr;
    tQmxRecObject* rec = FindQmxClassById(id);
    if (!rec)
        throw EReadError("no class registered as " + std::to_string(id));
    std::unique_ptr<TObject> item(rec->ItemClass->Create());
    dynamic_cast<tQmxStreamable&>(*item).Load(*this);
    return item.release();
}

void TQmxTestStream::Put(TObject* Item)
{
    std::uint16_t id = 0;
    if (Item) {
        tQmxRecObject* rec = FindQmxClassOf(Item);
        if (!rec)
            throw EWriteError("not a registered class: " + Item->ClassName());
        id = rec->Id;
    }
    WriteBuffer(&id, sizeof id);
    if (Item)
        dynamic_cast<tQmxStreamable&>(*Item).Store(*this);
}

std::string TQmxTestStream::Bytes()
{
    return std::string(static_cast<const char*>(bytes_.Memory()), static_cast<std::size_t>(bytes_.Size()));
}

void TQmxTestStream::SetBytes(const std::string& bytes)
{
    bytes_.Clear();
    bytes_.Write(bytes.data(), static_cast<int>(bytes.size()));
    bytes_.SetPosition(0);
}
