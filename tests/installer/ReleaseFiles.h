// Where the build put the files a release is made of. The build defines each path (as Z:/... so that Wine
// finds it) when it has the target that makes the file, and leaves it empty otherwise.
#pragma once

#ifndef CORVADIN_GUI_EXE_PATH
#define CORVADIN_GUI_EXE_PATH ""
#endif
#ifndef CORVADIN_CLI_EXE_PATH
#define CORVADIN_CLI_EXE_PATH ""
#endif
#ifndef CORVADIN_SETUP_PATH
#define CORVADIN_SETUP_PATH ""
#endif
// The folder of the programs as the installer packs them (stripped copies).
#ifndef CORVADIN_PACKED_DIR
#define CORVADIN_PACKED_DIR ""
#endif
// The 32-bit build's setup packs the 64-bit build's programs too: their folder, or empty.
#ifndef CORVADIN_PACKED_X64_DIR
#define CORVADIN_PACKED_X64_DIR ""
#endif
