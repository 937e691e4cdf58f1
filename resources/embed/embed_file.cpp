// Build-time tool: writes a C++ source that holds the bytes of one file as an
// `vexmor::embedded::EmbeddedFile` constant, so resources need no file access at run time.
//
//   vexmor-embed-file <input file> <output .cpp> <constant name>

#include <cstdio>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

namespace {

// Every byte as a three-digit octal escape: unambiguous whatever follows it, and a string literal
// compiles far faster than a brace list of millions of integers.
void WriteStringLiteralLines(std::ostream& out, const std::vector<unsigned char>& bytes) {
  constexpr std::size_t kBytesPerLine = 32;
  char escape[8];
  for (std::size_t i = 0; i < bytes.size(); i += kBytesPerLine) {
    out << "    \"";
    for (std::size_t j = i; j < bytes.size() && j < i + kBytesPerLine; ++j) {
      std::snprintf(escape, sizeof escape, "\\%03o", bytes[j]);
      out << escape;
    }
    out << "\"\n";
  }
  if (bytes.empty()) out << "    \"\"\n";
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::cerr << "usage: vexmor-embed-file <input file> <output .cpp> <constant name>\n";
    return 2;
  }
  const std::string input = argv[1], output = argv[2], name = argv[3];

  std::ifstream in(input, std::ios::binary);
  if (!in) {
    std::cerr << "vexmor-embed-file: cannot open " << input << '\n';
    return 1;
  }
  const std::vector<unsigned char> bytes{std::istreambuf_iterator<char>(in), {}};
  if (in.bad()) {
    std::cerr << "vexmor-embed-file: cannot read " << input << '\n';
    return 1;
  }

  // Written beside the target and renamed, so an interrupted build never leaves half a source.
  const std::string temporary = output + ".tmp";
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    out << "// Generated from " << input << " by vexmor-embed-file; do not edit.\n"
        << "#include \"resources/embedded_file.h\"\n\n"
        << "namespace vexmor::embedded {\nnamespace {\n\n"
        << "alignas(16) const std::uint8_t kBytes[] =\n";
    WriteStringLiteralLines(out, bytes);
    out << ";\n\n}  // namespace\n\n"
        << "extern const EmbeddedFile " << name << ";\n"
        << "const EmbeddedFile " << name << "{kBytes, " << bytes.size() << "u};\n\n"
        << "}  // namespace vexmor::embedded\n";
    if (!out.flush()) {
      std::cerr << "vexmor-embed-file: cannot write " << temporary << '\n';
      return 1;
    }
  }
  if (std::rename(temporary.c_str(), output.c_str()) != 0) {
    std::cerr << "vexmor-embed-file: cannot rename " << temporary << " to " << output << '\n';
    return 1;
  }
  return 0;
}
