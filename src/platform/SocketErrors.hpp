#pragma once

namespace corv::platform {

// Error codes of the program's socket error table that waits and receive loops meet in normal
// work.
inline constexpr int socketInterrupted = 10004;
inline constexpr int socketWouldBlock = 10035;
inline constexpr int socketAddressNotAvailable = 10049;
inline constexpr int socketTimedOut = 10060;

// Translates a system error number of a socket call to the socket error code of the
// program's error-text table (10004 "Interrupted system call", 10054 "Connection reset by
// peer", ...), so that log texts read the same on every platform. Unknown numbers pass
// through unchanged.
int socketErrorCode(int systemError) noexcept;

// The socket error code of the last failed socket call on this thread.
int lastSocketErrorCode() noexcept;

// Translates a failed host-name look-up (getaddrinfo's result) to the same table:
// 11001 "Host not found", 11004 "No host data of that type was found".
int hostLookupErrorCode(int lookupError) noexcept;

}  // namespace corv::platform
