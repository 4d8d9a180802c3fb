// SPDX-License-Identifier: GPL-3.0-or-later
#include "FuzzTarget.h"

#include "LevelReplay.h"
#include "LevelRun.h"

// Any bytes as a run file beside Best.Log: they read as no run at all, or as
// a run the game would write the same way again, and playing that run through
// a round of its own level ends, won or lost, whatever its keys and times.

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::optional<LevelRun> run = LevelRun::parse(fuzz::bytes(data, size));
    if (!run)
        return 0;
    const std::optional<LevelRun> again = LevelRun::parse(run->content());
    fuzz::expect(again && again->keys() == run->keys() && again->isOf(run->level()),
                 "a run reads back as it is written");
    const LevelReplay::Result result = LevelReplay::play(run->level(), *run);
    fuzz::expect(result.won || !result.why.isEmpty(), "a run that is not won says why");
    return 0;
}
