#include "text/byte_text.h"

#include <cstdio>
#include <cstdlib>

namespace sumvelo {

std::size_t TextArray::Checked(int index) const {
  if (index < 1 || index > Count()) {
    std::fprintf(stderr, "sumvelo: fatal: text array index %d outside 1..%d\n", index, Count());
    std::exit(-1);
  }
  return static_cast<std::size_t>(index - 1);
}

}  // namespace sumvelo
