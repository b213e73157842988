// The bits of an open's access mode: read or read/write, and what it lets others do at the same
// time.
#pragma once

namespace quillery::storage::AccessMode {

inline constexpr int kReadWriteMask = 0x03;  // 0 read-only, otherwise read/write
inline constexpr int kReadWrite = 0x02;
inline constexpr int kSharingMask = 0x70;
inline constexpr int kCompatibility = 0x00;
inline constexpr int kDenyAll = 0x10;
inline constexpr int kDenyWrite = 0x20;
inline constexpr int kDenyRead = 0x30;
inline constexpr int kDenyNone = 0x40;
inline constexpr int kCreate = 0x100;

}  // namespace quillery::storage::AccessMode
