#pragma once

#include <QByteArray>
#include <QtGlobal>

// SETI@home figures, read afresh from the client's folder on every call. rep_seti is the
// client's directory in the panel's character set, ending with its separator: the file names
// are appended to it as they are.
//
// Every result is brought into the 16-bit range (32767 at most, -32768 at least); nothing that
// the folder holds, or lacks, makes a call fail.

// Whole percent done of the work unit in progress: the number after the five-character key of
// the fifth line of Work0/state.sah, times 100, rounded down. 0 when the file is missing or
// unreadable, has fewer than five lines, or holds no number there.
qint16 SetiProgress(const QByteArray& rep_seti);

// Work units waiting (Todo) and finished (Done): the files named scmd_work_unit.<anything> in
// that folder, hidden and read-only ones included, folders not. 0 when the folder is missing.
qint16 SetiCacheCount(const QByteArray& rep_seti);
qint16 SetiDoneCount(const QByteArray& rep_seti);
