#include "platform/Com.h"

#include "platform/ShellLink.h"

#include <cstdlib>
#include <cstring>
#include <new>

namespace {

// Every block carries its size in front, so that GetSize can answer. The header keeps
// the block aligned for any type.
constexpr std::size_t kHeader = alignof(std::max_align_t);

std::size_t& SizeOf(void* block)
{
    return *reinterpret_cast<std::size_t*>(static_cast<char*>(block) - kHeader);
}

class TaskAllocator final : public IMalloc {
public:
    HRESULT QueryInterface(REFIID iid, void** object) override
    {
        if (!object)
            return E_POINTER;
        if (iid == IID_IUnknown || iid == IID_IMalloc) {
            *object = static_cast<IMalloc*>(this);
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    // The allocator lives as long as the process: counting is for form only.
    ULONG AddRef() override { return 2; }
    ULONG Release() override { return 1; }

    void* Alloc(std::size_t size) override
    {
        if (size > SIZE_MAX - kHeader)
            return nullptr;
        char* raw = static_cast<char*>(std::malloc(size + kHeader));
        if (!raw)
            return nullptr;
        void* block = raw + kHeader;
        SizeOf(block) = size;
        return block;
    }
    void* Realloc(void* block, std::size_t size) override
    {
        if (!block)
            return Alloc(size);
        if (size == 0) {
            Free(block);
            return nullptr;
        }
        if (size > SIZE_MAX - kHeader)
            return nullptr;
        char* raw = static_cast<char*>(std::realloc(static_cast<char*>(block) - kHeader, size + kHeader));
        if (!raw)
            return nullptr;
        void* moved = raw + kHeader;
        SizeOf(moved) = size;
        return moved;
    }
    void Free(void* block) override
    {
        if (block)
            std::free(static_cast<char*>(block) - kHeader);
    }
    std::size_t GetSize(void* block) override { return block ? SizeOf(block) : static_cast<std::size_t>(-1); }
    int DidAlloc(void* block) override { return block ? -1 : 0; }
    void HeapMinimize() override {}
};

TaskAllocator& Allocator()
{
    static TaskAllocator allocator;
    return allocator;
}

}  // namespace

void GuidToBytes(const GUID& guid, BYTE out[16])
{
    out[0] = static_cast<BYTE>(guid.Data1);
    out[1] = static_cast<BYTE>(guid.Data1 >> 8);
    out[2] = static_cast<BYTE>(guid.Data1 >> 16);
    out[3] = static_cast<BYTE>(guid.Data1 >> 24);
    out[4] = static_cast<BYTE>(guid.Data2);
    out[5] = static_cast<BYTE>(guid.Data2 >> 8);
    out[6] = static_cast<BYTE>(guid.Data3);
    out[7] = static_cast<BYTE>(guid.Data3 >> 8);
    std::memcpy(out + 8, guid.Data4, 8);
}

HRESULT CoGetMalloc(DWORD, IMalloc** allocator)
{
    if (!allocator)
        return E_INVALIDARG;
    *allocator = &Allocator();
    return S_OK;
}

void* CoTaskMemAlloc(std::size_t size) { return Allocator().Alloc(size); }

void* CoTaskMemRealloc(void* block, std::size_t size) { return Allocator().Realloc(block, size); }

void CoTaskMemFree(void* block) { Allocator().Free(block); }

HRESULT CoCreateInstance(REFCLSID clsid, IUnknown* outer, DWORD, REFIID iid, void** object)
{
    if (!object)
        return E_POINTER;
    *object = nullptr;
    if (outer)
        return CLASS_E_NOAGGREGATION;
    if (clsid == CLSID_ShellLink)
        return CreateShellLinkObject(iid, object);
    return REGDB_E_CLASSNOTREG;
}
