#pragma once
// Item identifier lists: the shell's names for the nodes of its namespace (the desktop,
// My Computer, drives, folders, files). A list is a run of items, each a 16-bit byte
// count (itself included) and that many bytes less two, ended by a count of 0; the empty
// list names the desktop. Lists handed out by the shell come from the task allocator
// (platform/Com.h) and the caller frees them there. Callers treat the items as opaque;
// platform/ShellNamespace.h knows what they hold.

#include "platform/WinTypes.h"

#include <string>
#include <string_view>
#include <vector>

#pragma pack(push, 1)
// Stands for the Win32 SHITEMID: one item (cb counts itself).
struct SHITEMID {
    USHORT cb;
    BYTE abID[1];
};
// Stands for the Win32 ITEMIDLIST: the first item of a list.
struct ITEMIDLIST {
    SHITEMID mkid;
};
#pragma pack(pop)

using LPITEMIDLIST = ITEMIDLIST*;              // stands for the Win32 pointer to a list
using LPCITEMIDLIST = const ITEMIDLIST*;       // stands for the Win32 pointer to a constant list
using PIDLIST_ABSOLUTE = ITEMIDLIST*;          // stands for a list that starts at the desktop
using PCIDLIST_ABSOLUTE = const ITEMIDLIST*;   // the same, constant

// The longest item a list may hold (its bytes after the count); longer ones are refused.
inline constexpr std::size_t kMaxItemIdBytes = 0xFFFF - 2;

// Stands for ILGetSize: the list's bytes, terminator included; 0 for null.
UINT ILGetSize(LPCITEMIDLIST list);

// Stands for ILClone: a copy from the task allocator; null for null or no memory.
LPITEMIDLIST ILClone(LPCITEMIDLIST list);

// Stands for ILCombine: `first` followed by `second`, from the task allocator.
LPITEMIDLIST ILCombine(LPCITEMIDLIST first, LPCITEMIDLIST second);

// Stands for ILFree: gives a list back to the task allocator (null is fine).
void ILFree(LPITEMIDLIST list);

// Stands for ILIsEqual: both lists hold the same items, byte for byte.
BOOL ILIsEqual(LPCITEMIDLIST a, LPCITEMIDLIST b);

// The items of a list, each as its bytes without the count. Null gives none.
std::vector<std::string> ItemIdListItems(LPCITEMIDLIST list);

// A new list from the task allocator holding `items`; null when an item is empty or
// too long, or memory is short.
LPITEMIDLIST MakeItemIdList(const std::vector<std::string>& items);
