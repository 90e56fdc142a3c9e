#pragma once

namespace sumvelo {

// The outcome of the language test of one run; decided once and stored nowhere.
enum class TextLanguage { Chinese, English, Neither };

}  // namespace sumvelo
