#include "HashFormula.h"

#include <cctype>
#include <cstdlib>

#include "StringUtil.h"

namespace pontax {

namespace {
bool IsAlpha(char c) { return std::isalpha(static_cast<unsigned char>(c)) != 0; }
bool IsAlnum(char c) { return std::isalnum(static_cast<unsigned char>(c)) != 0; }
}  // namespace

// Decimal notation with an optional fraction and exponent; a lone "." is a failed read, which ends
// the evaluation like a broken stream does.
void FormulaEvaluator::ReadNumber() {
    size_t start = position_;
    size_t i = position_;
    while (i < input_.size() && IsDigit(input_[i])) ++i;
    if (i < input_.size() && input_[i] == '.') ++i;
    while (i < input_.size() && IsDigit(input_[i])) ++i;
    if (i - start == 1 && input_[start] == '.') {
        numberValue_ = 0;
        failed_ = true;
        position_ = i;
        return;
    }
    if (i < input_.size() && (input_[i] == 'e' || input_[i] == 'E')) {
        size_t j = i + 1;
        if (j < input_.size() && (input_[j] == '+' || input_[j] == '-')) ++j;
        if (j < input_.size() && IsDigit(input_[j])) {
            while (j < input_.size() && IsDigit(input_[j])) ++j;
            i = j;
        }
    }
    numberValue_ = std::strtod(std::string(input_.substr(start, i - start)).c_str(), nullptr);
    position_ = i;
}

int FormulaEvaluator::ReadToken() {
    if (failed_) return currentToken_ = kEnd;
    while (position_ < input_.size() && input_[position_] != '\n' &&
           std::isspace(static_cast<unsigned char>(input_[position_])))
        ++position_;
    if (position_ >= input_.size()) return currentToken_ = kEnd;
    char c = input_[position_++];
    switch (c) {
        case '\0':
            return currentToken_ = kEnd;
        case ';':
        case '\n':
            return currentToken_ = kPrint;
        case '*':
        case '/':
        case '+':
        case '-':
        case '(':
        case ')':
        case '=':
            return currentToken_ = c;
        default:
            break;
    }
    if (IsDigit(c) || c == '.') {
        --position_;
        ReadNumber();
        return currentToken_ = kNumber;
    }
    if (IsAlpha(c)) {
        size_t start = position_ - 1;
        while (position_ < input_.size() && IsAlnum(input_[position_])) ++position_;
        nameText_ = std::string(input_.substr(start, position_ - start));
        return currentToken_ = kName;
    }
    return currentToken_ = kPrint;
}

double FormulaEvaluator::Expression(bool read) {
    double left = Term(read);
    while (currentToken_ == '+' || currentToken_ == '-') {
        if (currentToken_ == '+')
            left += Term(true);
        else
            left -= Term(true);
    }
    return left;
}

double FormulaEvaluator::Term(bool read) {
    double left = Primary(read);
    while (currentToken_ == '*' || currentToken_ == '/') {
        if (currentToken_ == '*') {
            left *= Primary(true);
        } else {
            double divisor = Primary(true);
            if (divisor == 0) return 0;
            left /= divisor;
        }
    }
    return left;
}

double FormulaEvaluator::Primary(bool read) {
    if (read) ReadToken();
    // Nesting deeper than any real formula would only exhaust the stack.
    if (depth_ >= kMaxDepth) return 0;
    struct DepthGuard {
        int& depth;
        explicit DepthGuard(int& d) : depth(++d) {}
        ~DepthGuard() { --depth; }
    } guard(depth_);
    switch (currentToken_) {
        case kNumber: {
            double value = numberValue_;
            ReadToken();
            return value;
        }
        case kName: {
            double& variable = variables_[nameText_];
            if (ReadToken() == '=') variable = Expression(true);
            return variable;
        }
        case '-':
            return -Primary(true);
        case '(': {
            double e = Expression(true);
            if (currentToken_ != ')') return 0;
            ReadToken();
            return e;
        }
        default:
            return 0;
    }
}

double FormulaEvaluator::Evaluate(std::string_view text) {
    input_ = text;
    position_ = 0;
    failed_ = false;
    depth_ = 0;
    currentToken_ = kPrint;
    double result = 0;
    while (!failed_) {
        ReadToken();
        if (currentToken_ == kEnd) break;
        if (currentToken_ == kPrint) continue;
        result = Expression(false);
    }
    input_ = {};
    return result;
}

}  // namespace pontax
