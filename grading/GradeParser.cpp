#include "grading/GradeParser.h"

#include <array>
#include <cstdint>
#include <limits>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "grading/Numbers.h"
#include "text/Gbk.h"
#include "text/ReadNumber.h"

namespace {

// The width of a grade field: the normalised text never grows beyond it.
constexpr std::size_t kBufferSize = 6;

struct Buffer {
  std::array<char, kBufferSize> bytes{};
  std::size_t size = 0;
  void Append(char c) {
    if (size < kBufferSize) bytes[size++] = c;
  }
  std::string_view View() const { return {bytes.data(), size}; }
};

struct WordCode {
  std::string text;  // GBK
  GradeCode code;
};

const std::vector<WordCode>& Words() {
  static const std::vector<WordCode> words = [] {
    std::vector<WordCode> w;
    auto add = [&w](std::string_view utf8, GradeCode code) { w.push_back({Gbk(utf8), code}); };
    add("作弊", GradeCode::Cheating);
    add("做弊", GradeCode::Cheating);
    for (auto [letter, small, word, code] :
         {std::tuple{"A", "a", "优", GradeCode::LevelA}, std::tuple{"B", "b", "良", GradeCode::LevelB},
          std::tuple{"C", "c", "中", GradeCode::LevelC}}) {
      add(letter, code);
      add(small, code);
      add(word, code);
    }
    for (const char* t : {"D", "d", "及格", "及", "合格", "合", "通过", "通", "过"}) add(t, GradeCode::LevelD);
    for (const char* t : {"F", "f", "不及格", "不及", "不合格", "不合", "不通过", "不通", "不过"}) add(t, GradeCode::LevelF);
    return w;
  }();
  return words;
}

// The pairs the normaliser knows, as GBK; `replacement` 0 means dropped.
struct PairRule {
  std::string pair;
  char replacement;
};

const std::vector<PairRule>& PairRules() {
  static const std::vector<PairRule> rules = [] {
    std::vector<PairRule> r;
    for (const char* blankOrSign : {"　", "＋", "－"}) r.push_back({Gbk(blankOrSign), 0});
    const char* wideDigits[] = {"０", "１", "２", "３", "４", "５", "６", "７", "８", "９"};
    for (int d = 0; d < 10; ++d) r.push_back({Gbk(wideDigits[d]), static_cast<char>('0' + d)});
    for (auto [wide, ascii] : {std::pair{"Ａ", 'A'}, std::pair{"Ｂ", 'B'}, std::pair{"Ｃ", 'C'},
                               std::pair{"Ｄ", 'D'}, std::pair{"Ｆ", 'F'}, std::pair{"ａ", 'A'},
                               std::pair{"ｂ", 'B'}, std::pair{"ｃ", 'C'}, std::pair{"ｄ", 'D'},
                               std::pair{"ｆ", 'F'}}) {
      r.push_back({Gbk(wide), ascii});
    }
    return r;
  }();
  return rules;
}

}  // namespace

GradeCode ParseGrade(std::string_view text, std::int32_t& score) {
  score = 0;
  const auto& rules = PairRules();
  Buffer buffer;
  std::size_t pos = 0;
  while (pos < text.size()) {
    char c = text[pos];
    if (c == ' ' || c == '+' || c == '-') {
      ++pos;
      continue;
    }
    bool matched = false;
    // Every pair the normaliser knows starts with one of these two bytes.
    const auto lead = static_cast<unsigned char>(c);
    if (pos + 1 < text.size() && (lead == 0xA1 || lead == 0xA3)) {
      std::string_view pair = text.substr(pos, 2);
      for (const PairRule& rule : rules) {
        if (pair == rule.pair) {
          if (rule.replacement != 0) buffer.Append(rule.replacement);
          pos += 2;
          matched = true;
          break;
        }
      }
    }
    if (matched) continue;
    buffer.Append(c);
    ++pos;
  }

  std::string_view normalised = buffer.View();
  if (normalised.empty()) return GradeCode::NotRecognised;
  if (normalised.front() >= '0' && normalised.front() <= '9') {
    // At most six bytes, so the value is tiny or its exponent is; beyond the
    // 32-bit range the score saturates.
    std::int64_t rounded = RoundHalfEven(ReadNumber(normalised));
    if (rounded > std::numeric_limits<std::int32_t>::max()) rounded = std::numeric_limits<std::int32_t>::max();
    score = static_cast<std::int32_t>(rounded);
    return GradeCode::Number;
  }
  for (const WordCode& word : Words()) {
    if (normalised == word.text) return word.code;
  }
  return GradeCode::NotRecognised;
}
