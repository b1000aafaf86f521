#include "platform/ItemIdList.h"

#include "platform/Com.h"

#include <cstring>

namespace {

USHORT CountAt(const BYTE* at)
{
    USHORT count;
    std::memcpy(&count, at, sizeof count);
    return count;
}

}  // namespace

UINT ILGetSize(LPCITEMIDLIST list)
{
    if (!list)
        return 0;
    const BYTE* at = reinterpret_cast<const BYTE*>(list);
    std::size_t size = 0;
    while (USHORT count = CountAt(at + size))
        size += count;
    return static_cast<UINT>(size + sizeof(USHORT));
}

LPITEMIDLIST ILClone(LPCITEMIDLIST list)
{
    if (!list)
        return nullptr;
    UINT size = ILGetSize(list);
    void* copy = CoTaskMemAlloc(size);
    if (copy)
        std::memcpy(copy, list, size);
    return static_cast<LPITEMIDLIST>(copy);
}

LPITEMIDLIST ILCombine(LPCITEMIDLIST first, LPCITEMIDLIST second)
{
    if (!first)
        return ILClone(second);
    if (!second)
        return ILClone(first);
    std::size_t firstBytes = ILGetSize(first) - sizeof(USHORT);
    std::size_t secondBytes = ILGetSize(second);
    auto* combined = static_cast<BYTE*>(CoTaskMemAlloc(firstBytes + secondBytes));
    if (!combined)
        return nullptr;
    std::memcpy(combined, first, firstBytes);
    std::memcpy(combined + firstBytes, second, secondBytes);
    return reinterpret_cast<LPITEMIDLIST>(combined);
}

void ILFree(LPITEMIDLIST list) { CoTaskMemFree(list); }

BOOL ILIsEqual(LPCITEMIDLIST a, LPCITEMIDLIST b)
{
    if (!a || !b)
        return a == b;
    UINT size = ILGetSize(a);
    return size == ILGetSize(b) && std::memcmp(a, b, size) == 0;
}

std::vector<std::string> ItemIdListItems(LPCITEMIDLIST list)
{
    std::vector<std::string> items;
    if (!list)
        return items;
    const BYTE* at = reinterpret_cast<const BYTE*>(list);
    while (USHORT count = CountAt(at)) {
        if (count < sizeof(USHORT))
            break;  // not a list this shell made: stop rather than loop
        items.emplace_back(reinterpret_cast<const char*>(at + sizeof(USHORT)), count - sizeof(USHORT));
        at += count;
    }
    return items;
}

LPITEMIDLIST MakeItemIdList(const std::vector<std::string>& items)
{
    std::size_t size = sizeof(USHORT);
    for (const std::string& item : items) {
        if (item.empty() || item.size() > kMaxItemIdBytes)
            return nullptr;
        size += sizeof(USHORT) + item.size();
    }
    auto* list = static_cast<BYTE*>(CoTaskMemAlloc(size));
    if (!list)
        return nullptr;
    BYTE* at = list;
    for (const std::string& item : items) {
        auto count = static_cast<USHORT>(sizeof(USHORT) + item.size());
        std::memcpy(at, &count, sizeof count);
        std::memcpy(at + sizeof count, item.data(), item.size());
        at += count;
    }
    std::memset(at, 0, sizeof(USHORT));
    return reinterpret_cast<LPITEMIDLIST>(list);
}
