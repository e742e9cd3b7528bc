#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "tamberlyne/Verb.h"

// One in-process tamberlyne run: its exit status and what it printed.
struct VerbRun {
    int status;
    std::string out;
    std::string err;
};

inline VerbRun Tamberlyne(std::vector<std::string> args)
{
    std::ostringstream out, err;
    int status = tamberlyne::RunTamberlyne(args, out, err);
    return {status, out.str(), err.str()};
}

// A test with a fresh folder of its own, removed at the end.
class VerbTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
        m_dir = std::filesystem::temp_directory_path()
            / (std::string("tamber-") + test->test_suite_name() + "-" + test->name() + "-"
                + std::to_string(std::random_device {}()));
        std::filesystem::create_directories(m_dir);
    }
    void TearDown() override { std::filesystem::remove_all(m_dir); }

    std::string Path(const std::string& name) const { return (m_dir / name).string(); }

    // Writes the bytes to NAME inside the folder, making its parent folders; returns the path.
    std::string WriteFile(const std::string& name, const std::string& bytes) const
    {
        std::filesystem::path path = m_dir / name;
        std::filesystem::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
        return path.string();
    }

    static std::string ReadFile(const std::string& path)
    {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

    std::filesystem::path m_dir;
};
