// Stands in for a library another user left in a shared folder under the name of one the program
// needs: loading it leaves the file xel02-planted-library-ran in the current folder.
#include <fcntl.h>
#include <unistd.h>

namespace {

__attribute__((constructor)) void LeaveMarker() {
  int marker = open("xel02-planted-library-ran", O_WRONLY | O_CREAT | O_CLOEXEC, 0600);
  if (marker >= 0) {
    close(marker);
  }
}

}  // namespace
