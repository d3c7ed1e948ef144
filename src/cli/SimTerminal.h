// The pseudo-terminal vq3 sim answers on: the master the unit talks through, one slave descriptor held open so
// the master does not report hang-up whenever no program has the port open, and the symbolic link made to it.
#pragma once

#include <optional>
#include <string>

namespace qm::cli
{

class SimTerminal
{
public:
    SimTerminal() = default;
    SimTerminal(const SimTerminal&) = delete;
    SimTerminal& operator=(const SimTerminal&) = delete;
    ~SimTerminal();

    /// Opens the terminal in raw mode at 4800 baud; returns the operating system's reason on failure.
    std::optional<std::string> open();
    int master() const { return m_master; }
    const std::string& path() const { return m_path; }

    /// Readable when a program has closed the terminal (an inotify descriptor; -1 when there is none).
    int closings() const { return m_closings; }

    /// Called when closings() is readable, and now and then: a terminal in exclusive mode while no program holds
    /// its lock was left so by a program that ended without clearing it (killed, say). The mode lasts as long as
    /// this terminal and would refuse every later open by an ordinary user, so it is cleared: at once right after
    /// a program closed the terminal, else once seen twice in a row.
    void clearLeftOverExclusiveMode();
    /// A program closed the terminal while the mode was still set and its lock still held (the system releases
    /// the lock just after it reports the close): the next looks come soon.
    bool lookSoon() const { return m_closedWithMode; }

private:
    int m_master = -1;
    int m_slave = -1;
    int m_closings = -1;
    std::string m_path;
    /// Looks in a row that found the exclusive mode set with no lock held.
    int m_leftOverSeen = 0;
    /// A program closed the terminal since the mode was last found clear.
    bool m_closedWithMode = false;
};

/// Points the link at the target through a temporary link renamed over it, so the link never dangles half-made.
/// Only a symbolic link (or nothing) is replaced.
std::optional<std::string> makeLink(const std::string& link, const std::string& target);

/// Removes the link unless another simulator has pointed it elsewhere meanwhile.
void removeLink(const std::string& link, const std::string& target);

} // namespace qm::cli
