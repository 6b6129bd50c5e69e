// The one list of the plug-in's 45 names. The PluginInfo list, the export
// table, the declarations of the exports and the module-definition check are
// all derived from it, so a name cannot be listed without an export.
//
// Variables first, then functions, each group in alphabetical order: the
// order in which the host's list of names spells them.
#pragma once

#define TARNWICK_VARIABLES(X)   \
  X(_smbassettag)               \
  X(_smbbbassettag)             \
  X(_smbbbmfg)                  \
  X(_smbbbproduct)              \
  X(_smbbbserial)               \
  X(_smbbbversion)              \
  X(_smbbiosdate)               \
  X(_smbbiosrev)                \
  X(_smbbiosvendor)             \
  X(_smbbiosversion)            \
  X(_smbbox)                    \
  X(_smbchassis)                \
  X(_smbchassislock)            \
  X(_smbchassismfg)             \
  X(_smbchassisserial)          \
  X(_smbchassistag)             \
  X(_smbchassistype)            \
  X(_smbchassisversion)         \
  X(_smbcores)                  \
  X(_smbcpuclock)               \
  X(_smbcpucount)               \
  X(_smbcpumfg)                 \
  X(_smbcpusocket)              \
  X(_smbcpuspeed)               \
  X(_smbcpuversion)             \
  X(_smbecversion)              \
  X(_smbfamily)                 \
  X(_smbmemory)                 \
  X(_smbmfg)                    \
  X(_smbproduct)                \
  X(_smbserial)                 \
  X(_smbsku)                    \
  X(_smbsysversion)             \
  X(_smbthreads)                \
  X(_smbuuid)                   \
  X(_smbver)

// Users write "@randx"; the export is "f_randx".
#define TARNWICK_FUNCTIONS(X)   \
  X(randx)                      \
  X(smbbyte)                    \
  X(smbcount)                   \
  X(smbdword)                   \
  X(smbhandle)                  \
  X(smbqword)                   \
  X(smbstring)                  \
  X(smbstrnum)                  \
  X(smbword)
