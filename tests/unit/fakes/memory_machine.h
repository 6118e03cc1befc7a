// The files, folders and registry of one machine, in memory: the three stores that Apply,
// Undo and the tools read and write together. A test fixture derives from it.
#pragma once

#include "fakes/memory_file_system.h"
#include "fakes/memory_folders.h"
#include "fakes/memory_registry.h"

namespace zv::testing {

struct MemoryMachine {
    MemoryFileSystem files;
    MemoryFolders folders{files};
    MemoryRegistry registry;
};

}  // namespace zv::testing
