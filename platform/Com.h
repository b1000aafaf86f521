#pragma once
// The little of COM the shell's services are written against: result codes, interface
// identifiers, IUnknown, the task allocator and object creation. Objects are plain C++
// objects with a reference count; nothing here needs CoInitialize.

#include "platform/WinTypes.h"

#include <cstddef>

using HRESULT = std::int32_t;  // stands for the COM result code

// Stand for the COM SUCCEEDED and FAILED macros.
constexpr bool SUCCEEDED(HRESULT result) { return result >= 0; }
constexpr bool FAILED(HRESULT result) { return result < 0; }

// Stands for HRESULT_FROM_WIN32: a Win32 error code as a failure result.
constexpr HRESULT HRESULT_FROM_WIN32(DWORD code)
{
    return code == 0 ? 0 : static_cast<HRESULT>((code & 0x0000FFFFu) | 0x80070000u);
}

// Result codes (stand for the COM values of the same names).
inline constexpr HRESULT S_OK = 0;
inline constexpr HRESULT S_FALSE = 1;
inline constexpr HRESULT E_NOTIMPL = static_cast<HRESULT>(0x80004001u);
inline constexpr HRESULT E_NOINTERFACE = static_cast<HRESULT>(0x80004002u);
inline constexpr HRESULT E_POINTER = static_cast<HRESULT>(0x80004003u);
inline constexpr HRESULT E_FAIL = static_cast<HRESULT>(0x80004005u);
inline constexpr HRESULT E_OUTOFMEMORY = static_cast<HRESULT>(0x8007000Eu);
inline constexpr HRESULT E_INVALIDARG = static_cast<HRESULT>(0x80070057u);
inline constexpr HRESULT CLASS_E_NOAGGREGATION = static_cast<HRESULT>(0x80040110u);
inline constexpr HRESULT REGDB_E_CLASSNOTREG = static_cast<HRESULT>(0x80040154u);
inline constexpr HRESULT STG_E_PATHNOTFOUND = static_cast<HRESULT>(0x80030003u);
inline constexpr HRESULT STG_E_ACCESSDENIED = static_cast<HRESULT>(0x80030005u);
inline constexpr HRESULT STG_E_WRITEFAULT = static_cast<HRESULT>(0x8003001Du);
inline constexpr HRESULT STG_E_MEDIUMFULL = static_cast<HRESULT>(0x80030070u);

// Stands for the COM GUID (also IID and CLSID).
struct GUID {
    DWORD Data1 = 0;
    WORD Data2 = 0;
    WORD Data3 = 0;
    BYTE Data4[8] = {};

    bool operator==(const GUID&) const = default;
};
using IID = GUID;
using CLSID = GUID;
using REFIID = const IID&;
using REFCLSID = const CLSID&;

// The 16 bytes of a GUID as files store it (the first three fields little-endian).
void GuidToBytes(const GUID& guid, BYTE out[16]);

inline constexpr IID IID_IUnknown{0x00000000, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
inline constexpr IID IID_IMalloc{0x00000002, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};

// Stands for the COM base interface. Release frees the object with its last reference.
class IUnknown {
public:
    virtual HRESULT QueryInterface(REFIID iid, void** object) = 0;
    virtual ULONG AddRef() = 0;
    virtual ULONG Release() = 0;

protected:
    ~IUnknown() = default;
};

// Stands for the COM task allocator, which the shell uses for every buffer and item
// identifier list it hands out or takes back. One allocator serves the whole process.
class IMalloc : public IUnknown {
public:
    virtual void* Alloc(std::size_t size) = 0;
    virtual void* Realloc(void* block, std::size_t size) = 0;
    virtual void Free(void* block) = 0;
    virtual std::size_t GetSize(void* block) = 0;  // (size_t)-1 for null
    virtual int DidAlloc(void* block) = 0;         // 1, 0, or -1 when unknown
    virtual void HeapMinimize() = 0;

protected:
    ~IMalloc() = default;
};

// Stands for CoGetMalloc: the task allocator (the memory context argument is ignored).
HRESULT CoGetMalloc(DWORD memoryContext, IMalloc** allocator);

// Stand for the task allocator's plain functions: the same heap as IMalloc.
void* CoTaskMemAlloc(std::size_t size);
void* CoTaskMemRealloc(void* block, std::size_t size);
void CoTaskMemFree(void* block);

// Class contexts (stand for the COM CLSCTX_* flags).
inline constexpr DWORD CLSCTX_INPROC_SERVER = 0x1;
inline constexpr DWORD CLSCTX_LOCAL_SERVER = 0x4;

// Stands for CoCreateInstance for the classes this system knows: the shell link object
// (platform/ShellLink.h). No aggregation (CLASS_E_NOAGGREGATION with an outer object);
// REGDB_E_CLASSNOTREG for any other class, E_NOINTERFACE when the object lacks `iid`.
HRESULT CoCreateInstance(REFCLSID clsid, IUnknown* outer, DWORD context, REFIID iid, void** object);
