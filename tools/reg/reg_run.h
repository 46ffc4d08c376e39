#pragma once
// Carries out one reg command against the store and the console streams.

#include <functional>
#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

#include "platform/linux/registry_sqlite.h"

namespace tv::reg {

// Opens the store only once the command line is known to be valid; may throw.
using StoreFactory = std::function<std::unique_ptr<SqliteRegistry>()>;

// args excludes the program name. Returns the exit code: 0 success, 1 failure (one
// "ERROR: ..." line on err). Questions read their answer from in; end of input is No.
int runReg(const std::vector<std::string>& args, const StoreFactory& openStore, std::istream& in,
           std::ostream& out, std::ostream& err);

}  // namespace tv::reg
