// The floor of an echo-paced transfer: what the kernel and two processes cost for byte-by-byte round trips
// over a pseudo-terminal, with no toolkit in between.
#pragma once

#include <string>

namespace qm::bench
{

/// Milliseconds for the given number of round trips between a minimal poll() echo loop on a pty's master (one
/// process) and a client on its slave (another): each byte is written after the echo of the one before.
double echoLoopMs(int roundTrips);

/// Milliseconds a minimal client on the terminal at path takes to send the stream byte by byte, each after the
/// echo of the one before; negative when an echo does not come within a second or differs.
double echoPacedWriteMs(const std::string& path, const std::string& stream);

} // namespace qm::bench
