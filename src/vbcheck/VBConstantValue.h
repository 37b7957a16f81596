#pragma once

#include "vbcheck/VBToken.h"

// The value of a constant expression made of numbers and arithmetic alone (+ - * / \ Mod ^ and
// parentheses), worked out as VB6 does when it compiles a Const. Anything else in it (a name, a
// string, a comparison, a hexadecimal number) leaves the value unknown: nothing is judged then.
class CVBConstantValue {
public:
    enum class Outcome : unsigned char { Unknown, Value, DivisionByZero };

    // The tokens [begin, end) of the expression; they need not outlive the object.
    CVBConstantValue(const VBToken* begin, const VBToken* end);

    Outcome Result() const { return outcome_; }
    double Value() const { return value_; }

private:
    bool Sum(double& value);
    bool Modulo(double& value);
    bool IntegerQuotient(double& value);
    bool Product(double& value);
    bool Negation(double& value);
    bool Power(double& value);
    bool Primary(double& value);
    bool IsSymbol(VBSymbol symbol) const;
    bool IsMod() const;
    // A divisor of zero: VB6 refuses the Const with "Division by zero", unless the dividend is zero
    // too, which it tells otherwise (0 / 0 overflows): then nothing is judged.
    bool Divide(double dividend, double divisor);
    bool WholeDivision(double& dividend, double& divisor);

    const VBToken* at_;
    const VBToken* end_;
    Outcome outcome_ = Outcome::Unknown;
    double value_ = 0;
    int depth_ = 0;
};
