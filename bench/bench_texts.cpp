#include "bench/bench_texts.h"

#include <malloc.h>
#include <sys/resource.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>

#include "encoding/gb18030.h"
#include "samples/builtin_texts.h"

namespace sumvelo::bench {
namespace {

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    std::fprintf(stderr, "cannot read %s\n", path.c_str());
    std::exit(1);
  }
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

Document FromUtf8(std::string name, const std::string& utf8) {
  const std::size_t lineEnd = utf8.find('\n');
  const std::string body = lineEnd == std::string::npos ? std::string() : utf8.substr(lineEnd + 1);
  return {std::move(name), encoding::TitleToEngine(utf8), encoding::BodyToEngine(body)};
}

}  // namespace

std::vector<Document> BuiltinDocuments() {
  std::vector<Document> out;
  const std::pair<const char*, const samples::Article*> articles[] = {
      {"default", &samples::DefaultArticle()},
      {"sample2", &samples::SampleTwo()},
      {"sample3", &samples::SampleThree()},
  };
  for (const auto& [name, article] : articles) {
    out.push_back({name, encoding::TitleToEngine(article->headline),
                   encoding::BodyToEngine(article->body)});
  }
  return out;
}

std::string CorpusDirectory() {
  if (const char* dir = std::getenv("SUMVELO_CORPUS_DIR")) return dir;
  return SUMVELO_CORPUS_DIR;
}

Document CorpusDocument(const std::string& relativePath) {
  return FromUtf8(relativePath, ReadFile(CorpusDirectory() + "/" + relativePath));
}

Document LongDocument(const std::string& language, std::size_t bytes) {
  const char* const zh[] = {"long/zh_hongloumeng.txt", "long/zh_xiyouji.txt"};
  const char* const en[] = {"long/en_moby_dick.txt", "long/en_tinyshakespeare.txt"};
  const auto& files = language == "en" ? en : zh;
  std::vector<ByteText> sources;
  for (const char* f : files) sources.push_back(encoding::BodyToEngine(ReadFile(CorpusDirectory() + "/" + f)));
  Document doc;
  doc.name = language + "-" + std::to_string(bytes >> 10) + "k";
  doc.title = encoding::TitleToEngine(ReadFile(CorpusDirectory() + "/" + files[0]));
  doc.body.reserve(bytes);
  for (bool full = false; !full;) {
    for (const ByteText& source : sources) {
      for (std::size_t at = 0; at < source.size();) {
        std::size_t end = source.find("\r\n", at);
        end = end == ByteText::npos ? source.size() : end + 2;
        if (doc.body.size() + (end - at) > bytes) {
          full = true;
          break;
        }
        doc.body.append(source, at, end - at);
        at = end;
      }
      if (full) break;
    }
  }
  return doc;
}

std::size_t ParseSize(const std::string& text) {
  if (text.empty()) return 0;
  char* end = nullptr;
  const double value = std::strtod(text.c_str(), &end);
  std::string unit(end);
  double scale = 1;
  if (unit == "k" || unit == "K") {
    scale = 1024;
  } else if (unit == "m" || unit == "M") {
    scale = 1024.0 * 1024;
  } else if (!unit.empty()) {
    return 0;
  }
  return value > 0 ? static_cast<std::size_t>(value * scale) : 0;
}

void ResetPeakMemory() {
  malloc_trim(0);  // hand freed memory back first, so that it does not count
  if (std::FILE* f = std::fopen("/proc/self/clear_refs", "w")) {
    std::fputs("5", f);
    std::fclose(f);
  }
}

std::size_t PeakMemoryBytes() {
  if (std::FILE* f = std::fopen("/proc/self/status", "r")) {
    char line[256];
    std::size_t kb = 0;
    while (std::fgets(line, sizeof line, f)) {
      if (std::sscanf(line, "VmHWM: %zu kB", &kb) == 1) break;
    }
    std::fclose(f);
    if (kb > 0) return kb * 1024;
  }
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<std::size_t>(usage.ru_maxrss) * 1024;
}

std::size_t CurrentMemoryBytes() {
  std::size_t kb = 0;
  if (std::FILE* f = std::fopen("/proc/self/status", "r")) {
    char line[256];
    while (std::fgets(line, sizeof line, f)) {
      if (std::sscanf(line, "VmRSS: %zu kB", &kb) == 1) break;
    }
    std::fclose(f);
  }
  return kb * 1024;
}

}  // namespace sumvelo::bench
