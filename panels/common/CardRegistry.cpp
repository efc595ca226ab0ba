#include "CardRegistry.h"

#include <unistd.h>

#include <cstdlib>

#include "tarvic/platform/IniProfile.h"
#include "tarvic/platform/Text.h"

namespace CardRegistry {
namespace {

constexpr char kMachineDirectory[] = "/etc/tarvic";
constexpr char kMachineFile[] = "/etc/tarvic/registry.ini";

bool MachineFileWritable()
{
    if (::access(kMachineFile, F_OK) == 0) return ::access(kMachineFile, W_OK) == 0;
    if (::access(kMachineDirectory, F_OK) == 0) return ::access(kMachineDirectory, W_OK) == 0;
    return ::access("/etc", W_OK) == 0;
}

}  // namespace

std::string Path()
{
    if (const char* file = std::getenv("TARVIC_REGISTRY_FILE"); file && *file) return file;
    if (MachineFileWritable()) return kMachineFile;
    return tarvic::DefaultProfilePath("registry");
}

std::string CardPortValue(const std::string& portName) { return tarvic::Mid(portName, 3, 1); }

bool WriteCardPort(const std::string& portName)
{
    tarvic::IniProfile store(Path());
    return store.WriteProfileString(kSection, kCardPort, CardPortValue(portName));
}

}  // namespace CardRegistry
