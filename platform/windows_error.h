// Windows error codes as the errno values the rest of the program expects.
#pragma once

namespace junctra {

// ERROR_FILE_NOT_FOUND gives ENOENT, ERROR_ACCESS_DENIED EACCES, a sharing
// or lock violation EWOULDBLOCK (someone else has the file), ...; a code
// without a counterpart gives EIO. Only in the Windows build.
int ErrnoFromWin32(unsigned long error);

}  // namespace junctra
