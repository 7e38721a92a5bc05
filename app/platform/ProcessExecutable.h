// The file name of a process's executable, for telling programs apart by what they run. Read only for
// a process of this user: a window may name any number, and another user's programs are none of ours.
#pragma once

#include <QString>

namespace ProcessExecutable {

// Empty for no such process, another user's, or one whose executable cannot be read.
QString nameOf(qint64 pid);

} // namespace ProcessExecutable
