#pragma once
// Whether the driver package beside the exe holds every file its registration will name, asked
// before anything is changed: the spooler would otherwise meet the gap only after the port was
// made (and Wine not at all: it registers a driver whose files are missing).
#include <cstdint>
#include <string>
#include <vector>

#include "config/install_context.h"
#include "spooler/desired_printer.h"
#include "spooler/print_system.h"

// The package's files in the order they are copied, the optional ones marked: the list the
// desired printer is compared by, so that install, check and /verify name the same files.
std::vector<PackageFile> DriverPackageFiles(const InstallContext& context, int osBitness);

// A file the registration would name that the package folder does not give: missing, or there
// but not readable (the code says which).
struct MissingFile {
  std::u16string name;
  std::uint32_t code = 0;
};

// Every required file, and every optional one that is there, read in full from the package
// folder; those that cannot be, in the package's order.
std::vector<MissingFile> MissingPackageFiles(const DriverFileNames& names, const std::vector<PackageFile>& files,
                                             FileSystem& fileSystem);

// ok when the package is complete; otherwise "Driver package incomplete: <folder> lacks
// <files>. Nothing was changed." (the folder as SETUP64\ENG, the files comma-separated) with the
// first file's code, and one trace line per file with its full path.
Outcome CheckDriverPackage(const InstallContext& context, PrintPlatform& platform);
