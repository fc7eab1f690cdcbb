#pragma once

#include <array>
#include <cstddef>

// The amount columns of one row of a table's query, in 万元, in the order
// of the query's amount columns (for the detail table summ, jbsb, xmsb,
// jbzj, jbsq, xmzj, xmsq, gyzb, gyfy, gyqt; the summary table has nine).
struct TAuditAmounts {
    static constexpr std::size_t Count = 10;
    std::array<double, Count> Value{};

    double& operator[](std::size_t AIndex) { return Value[AIndex]; }
    double operator[](std::size_t AIndex) const { return Value[AIndex]; }
    TAuditAmounts& operator+=(const TAuditAmounts& AOther);
    TAuditAmounts& operator-=(const TAuditAmounts& AOther);
    friend TAuditAmounts operator+(TAuditAmounts A, const TAuditAmounts& B) { return A += B; }
    friend TAuditAmounts operator-(TAuditAmounts A, const TAuditAmounts& B) { return A -= B; }

    // Whether two amounts are the same to the cent, allowing for the noise
    // of adding many doubles in another order.
    static bool Same(double A, double B);
    static bool IsZero(double A) { return Same(A, 0); }
    // The first column (from AFirst on) where the two differ, or -1.
    static int FirstDifference(const TAuditAmounts& A, const TAuditAmounts& B,
                               std::size_t AFirst = 0);
    bool IsZero() const;
};
