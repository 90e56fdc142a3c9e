#include "samples/builtin_texts.h"

// Placeholder articles until the real ones are written.
namespace sumvelo::samples {

const Article& DefaultArticle() {
  static const Article a{"", ""};
  return a;
}
const Article& SampleTwo() { return DefaultArticle(); }
const Article& SampleThree() { return DefaultArticle(); }
std::string_view InfoLabelText() { return ""; }

}  // namespace sumvelo::samples
