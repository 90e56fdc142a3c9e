// The built-in articles: the default one shown at start-up and the two sample buttons' ones.
// Texts are UTF-8; bodies separate paragraphs with "\n" (the boundary turns them into CR LF).
#pragma once

#include <string_view>

namespace sumvelo::samples {

struct Article {
  std::string_view headline;
  std::string_view body;
};

// DefaultArticle: Chinese, about 1,150 characters in 17 paragraphs (16 line breaks), headline of
// 23 characters.
const Article& DefaultArticle();

// SampleTwo: Chinese, about 4,300 characters, headline of 12 characters ("例文二 4千字").
const Article& SampleTwo();

// SampleThree: English, about 2,400 bytes, headline of about 49 bytes ("例文三 英文").
const Article& SampleThree();

// InfoLabelText: the fixed informational text of the window's label 标签4.
std::string_view InfoLabelText();

}  // namespace sumvelo::samples
