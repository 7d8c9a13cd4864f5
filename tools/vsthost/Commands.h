// vsthost's subcommands. Each takes the arguments after its name (the
// library path first) and the host settings common to all of them, prints
// "key: value" lines on stdout and answers the process exit status:
// 0 success, 1 the library or the effect failed, 2 a usage error,
// 3 the entry point returned null.
//
//   vsthost [--host-version N] [--quiet] info DLL
//   vsthost [--host-version N] [--quiet] render DLL --in FILE --out FILE
//           [--rate R] [--block N] [--in-place] [--set INDEX=VALUE]...
//   vsthost [--host-version N] [--quiet] dispatch DLL OPCODE [INDEX VALUE OPT]
//           [--null-ptr]
//   vsthost [--host-version N] [--quiet] dispatch DLL --batch FILE
//   vsthost editor DLL ...              (see EditorCommand.h; Windows only)
//
// DLL is the plug-in library: a Windows DLL for the Windows vsthost.exe
// (32- or 64-bit, the same width as the DLL), a Linux shared library for the
// native vsthost.
//
// --host-version N: the host's answer to audioMasterVersion (default 2400).
// --quiet: the host's requests are not logged.
#pragma once

#include "tools/vsthost/PluginHost.h"

namespace vsthost {

constexpr int kExitOk = 0;
constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;
constexpr int kExitNoEffect = 3;

int runInfoCommand(int argc, char** argv, const HostSettings& settings);
int runRenderCommand(int argc, char** argv, const HostSettings& settings);
int runDispatchCommand(int argc, char** argv, const HostSettings& settings);

}  // namespace vsthost
