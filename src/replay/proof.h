#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "app/safe_file.h"
#include "replay/replay.h"
#include "replay/replay_file.h"

// A level's proof is a run that completed it, kept by the campaign's author beside the levels as
// proofs/<N>.rpl in the replay format. A campaign that ships its best runs (replays/<N>.rpl, the
// built-in ones) has them count as its proofs where it keeps no proof of its own.

// Where the author's proof of level N is kept: "<folder>/proofs/<N>.rpl".
std::string proofFile(const std::string& campaignFolder, int level);

// A level's proof as it was found, and the file it came from (the proof, or the shipped best
// run standing in for it).
struct FoundProof {
  std::string file;
  Result<Replay> loaded;
};
FoundProof findProof(const std::string& campaignFolder, int level);

// What a proof says of its level without playing it: none, a completed run of the level as its
// file is now, a run kept on another version of the level, or a file that is no proof at all
// (unreadable, damaged, a run of another level or one that did not complete it).
enum class ProofStanding { Unproven, Proven, Stale, Damaged };
ProofStanding proofStanding(const FoundProof& proof, int level, uint64_t levelFileHash);
// Why a damaged proof is no proof, without the file's name; nothing for a sound or missing one.
std::optional<std::string> proofProblem(const FoundProof& proof, int level);

// Whether the campaign's level `level`, kept in `levelFile`, is proven without playing the proof:
// its proof is a completed run of the level's file as it is now. `binhopper-level pack check`
// plays it.
bool levelProven(const std::string& campaignFolder, int level, const std::string& levelFile);

// Keeps a run of level N as the campaign's proof of it, replacing the one kept before.
Result<> keepProof(const std::string& campaignFolder, const Replay& run);

// The target time a proof suggests: its time with a fifth to spare (time / 0.8), rounded up to
// a tenth of a second, below the 1000 s pack.txt accepts.
double suggestedTarget(double proofTime);
