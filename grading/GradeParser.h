#pragma once
// How the sheet's statistics read a grade text: a number (its score), one of
// the five levels, cheating, or nothing it recognises. Full-width digits,
// letters and blanks count as their ASCII forms; signs and blanks anywhere
// are dropped; only the first six bytes that remain are looked at.
#include <cstdint>
#include <string_view>

// The numbers are those the grade system gives the kinds, in the order of
// its codes: levels A..F are 1..5 (there is no E), so a level compares
// above every other kind.
enum class GradeCode : std::int32_t {
  NotRecognised = -2,
  Cheating = -1,  // 作弊, 做弊: counted as a score of 0
  Number = 0,     // the score is set
  LevelA = 1,     // A, 优
  LevelB = 2,     // B, 良
  LevelC = 3,     // C, 中
  LevelD = 4,     // D, 及格, 合格, 通过 (and their first characters)
  LevelF = 5,     // F, 不及格, 不合格, 不通过 (and their first two characters)
};

constexpr bool IsLevel(GradeCode code) { return code >= GradeCode::LevelA; }

// The code of `text`; `score` is the rounded number (half to even,
// saturating at the 32-bit range) for GradeCode::Number and 0 otherwise.
GradeCode ParseGrade(std::string_view text, std::int32_t& score);

// The band of a score on the sheet: 0 for 90-100, 1 for 80-89, 2 for 70-79,
// 3 for 60-69, 4 for everything else (below 60, and above 100).
constexpr int ScoreBand(std::int32_t score) {
  if (score >= 90 && score <= 100) return 0;
  if (score >= 80 && score <= 89) return 1;
  if (score >= 70 && score <= 79) return 2;
  if (score >= 60 && score <= 69) return 3;
  return 4;
}
