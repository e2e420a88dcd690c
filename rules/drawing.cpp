#include "drawing.h"

namespace quorvela {

Problem drawProblem(RandomSource &random)
{
    Problem p;
    p.num1 = drawFrom(random.next(), 8);
    p.den1 = drawFrom(random.next(), 5);
    p.num2 = drawFrom(random.next(), 8);
    p.den2 = drawFrom(random.next(), 8);
    // The second fraction is never improper.
    if (p.den2 < p.num2)
        p.den2 = p.num2 + 2;
    return p;
}

std::vector<Problem> everyProblem()
{
    // Hands drawProblem the middle of each draw's range of r, so that it applies
    // its own rules to every combination.
    class Draws final : public RandomSource {
    public:
        explicit Draws(const int (&n)[4]) : n_(n) {}
        float next() override
        {
            static constexpr int kRange[4] = {8, 5, 8, 8};
            const int i = next_++;
            return (float(n_[i]) - 0.5f) / float(kRange[i]);
        }
        void reseedFromClock() override {}

    private:
        const int (&n_)[4];
        int next_ = 0;
    };
    std::vector<Problem> problems;
    for (int a = 1; a <= 8; ++a)
        for (int b = 1; b <= 5; ++b)
            for (int c = 1; c <= 8; ++c)
                for (int d = 1; d <= 8; ++d) {
                    const int n[4] = {a, b, c, d};
                    Draws draws(n);
                    problems.push_back(drawProblem(draws));
                }
    return problems;
}

std::int32_t sumNumerator(const Problem &p)
{
    return p.num1 * p.den2 + p.num2 * p.den1;
}

std::int32_t sumDenominator(const Problem &p)
{
    return p.den2 * p.den1;
}

} // namespace quorvela
