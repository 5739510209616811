#pragma once

#include <map>
#include <string>
#include <string_view>

namespace pontax {

// A small calculator for hash formulas such as "HASH=64;HASH*1024": statements separated by ";",
// "+ - * / ( ) =", numbers and variables that keep their values between evaluations. Malformed
// input never fails: a missing operand counts as 0 and division by zero makes its term 0.
class FormulaEvaluator {
public:
    virtual ~FormulaEvaluator() = default;
    // The value of the last statement evaluated (0 when there is none).
    double Evaluate(std::string_view text);

private:
    enum Token : int { kName = 0, kNumber = 1, kEnd = 2, kPrint = ';' };

    int ReadToken();
    void ReadNumber();
    double Expression(bool read);
    double Term(bool read);
    double Primary(bool read);

    int currentToken_ = kPrint;
    double numberValue_ = 0;
    std::string nameText_;
    std::map<std::string, double> variables_;
    std::string_view input_;
    size_t position_ = 0;
    bool failed_ = false;
    int depth_ = 0;
    static constexpr int kMaxDepth = 256;
};

}  // namespace pontax
