// SPDX-License-Identifier: GPL-3.0-or-later
#include "FuzzTarget.h"

#include "LevelTable.h"
#include "ProgramDir.h"
#include "ProgressFile.h"

#include <QFile>
#include <QTemporaryDir>

#include <cmath>

// Any bytes as LGT.Log: the stored slot must read as a slot of the level
// table, and recording a build must leave either the old file or exactly the
// line the game writes. The first byte picks the slot built; an odd one
// starts without a progress file at all.

namespace {

QTemporaryDir *scratch = nullptr;

QByteArray progressBytes()
{
    QFile file(ProgressFile::path());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    scratch = new QTemporaryDir;
    std::atexit([] { delete scratch; });
    ProgramDir::setPath(scratch->path());
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size == 0)
        return 0;
    const int slot = data[0] / 2 % LevelTable::Slots;
    const bool missing = data[0] % 2 == 1;
    const QByteArray content = fuzz::bytes(data + 1, size - 1);

    QFile::remove(ProgressFile::path());
    if (!missing) {
        QFile file(ProgressFile::path());
        fuzz::expect(file.open(QIODevice::WriteOnly) && file.write(content) == content.size(),
                     "the scratch progress file is written");
    }

    const double stored = ProgressFile::readSlot();
    fuzz::expect(std::isfinite(stored) && stored >= 0 && stored <= LevelTable::CustomSlot,
                 "the stored slot is a slot of the level table");
    fuzz::expect(QFile::exists(ProgressFile::path()), "reading leaves a progress file behind");
    const QByteArray before = progressBytes();
    fuzz::expect(!missing || before.isEmpty(), "a missing progress file is created empty");

    fuzz::expect(ProgressFile::record(slot), "recording in a writable directory succeeds");
    const QByteArray after = progressBytes();
    if (stored >= slot) {
        fuzz::expect(after == before, "a build no further on leaves the file alone");
    } else {
        fuzz::expect(after == ProgressFile::content(slot), "a build further on writes its line");
        fuzz::expect(ProgressFile::readSlot() == slot, "the line written reads back as its slot");
    }
    return 0;
}
