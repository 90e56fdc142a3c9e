// Running the built binary as a process on small files, for the command line's tests.
#pragma once

#include <gtest/gtest.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

extern char** environ;

namespace sumvelo::cli {

namespace fs = std::filesystem;
using json = nlohmann::ordered_json;

struct Process {
  int status = -1;
  std::string out;
  std::string err;
};

inline std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

// A numbered GBK file of the corpus and the UTF-8 file it was made from.
struct GbkCorpusFile {
  std::string gbk;
  std::string utf8;
};

// GbkCorpusFiles lists the numbered GBK files of the corpus with their UTF-8 originals.
inline std::vector<GbkCorpusFile> GbkCorpusFiles() {
  const fs::path corpus = SUMVELO_CORPUS_DIR;
  std::vector<GbkCorpusFile> files;
  if (!fs::is_directory(corpus / "gbk")) return files;
  const std::regex numbered("[0-9]{4}\\.txt");
  for (const auto& entry : fs::directory_iterator(corpus / "gbk")) {
    if (!std::regex_match(entry.path().filename().string(), numbered)) continue;
    files.push_back({entry.path().string(), (corpus / "zh" / entry.path().filename()).string()});
  }
  return files;
}

class CliTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "sumvelo-cli-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    dir_ = pattern;
  }
  void TearDown() override { fs::remove_all(dir_); }

  // Write puts `bytes` into a file of the test's folder and returns its path.
  std::string Write(const std::string& name, const std::string& bytes) {
    fs::path path = dir_ / name;
    std::ofstream(path, std::ios::binary) << bytes;
    return path.string();
  }

  // Sumvelo runs the binary with `args`, `input` on its standard input, and collects the rest.
  Process Sumvelo(const std::vector<std::string>& args, const std::string& input = "") {
    const std::string in = Write("stdin.bin", input);
    const std::string out = (dir_ / "stdout.bin").string();
    const std::string err = (dir_ / "stderr.bin").string();
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, in.c_str(), O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    std::vector<std::string> argvText = {SUMVELO_BINARY};
    argvText.insert(argvText.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& a : argvText) argv.push_back(a.data());
    argv.push_back(nullptr);
    pid_t pid = 0;
    Process run;
    int rc = posix_spawn(&pid, SUMVELO_BINARY, &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    EXPECT_EQ(rc, 0) << "cannot start " << SUMVELO_BINARY;
    if (rc != 0) return run;
    int status = 0;
    waitpid(pid, &status, 0);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    run.out = ReadFile(out);
    run.err = ReadFile(err);
    return run;
  }

  // SumveloJson runs with --json and expects success and one JSON object.
  json SumveloJson(std::vector<std::string> args, const std::string& input = "") {
    args.push_back("--json");
    Process run = Sumvelo(args, input);
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");
    json result = json::parse(run.out, nullptr, false);
    EXPECT_TRUE(result.is_object()) << run.out;
    return result;
  }

  fs::path dir_;
};

}  // namespace sumvelo::cli
