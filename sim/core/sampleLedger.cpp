#include "sim/core/ledger.h"

namespace sim {

std::string_view sampleLedgerJson() {
    // Amounts in units of 1/10000: 1500000 is 150.00.
    return R"json({
  "today": "20261209",
  "counterparties": [
    {
      "number": 12, "name": "Hurtownia Żuraw", "paidTotal": 500000, "dueTotal": 3900000,
      "documents": [
        {"number": "FV 12/2026", "date": "20261015", "documentAmount": 1500000, "paymentDays": 14,
         "viewKind": 1, "documentId": 4711, "viewRef": 120},
        {"number": "FV 31/2026", "date": "20261120", "documentAmount": 2400000, "paymentDays": 30,
         "viewKind": 1, "documentId": 4730, "viewRef": 131},
        {"number": "KP 7/2026", "date": "20261101", "paidAmount": 500000, "viewKind": 2,
         "documentId": 4733, "viewRef": 140, "slots": [{"key": 4711, "amount": -500000}]}
      ]
    },
    {
      "number": 15, "name": "Sklep Pod Kasztanem", "paidTotal": 0, "dueTotal": 2575000,
      "documents": [
        {"number": "FV 7/2026", "date": "20260902", "documentAmount": 825000, "paymentDays": 21,
         "viewKind": 1, "documentId": 5101, "viewRef": 210},
        {"number": "FV 19/2026", "date": "20261003", "documentAmount": 1950000, "paymentDays": 30,
         "viewKind": 1, "documentId": 5102, "viewRef": 211},
        {"number": "KOR 2/2026", "date": "20261010", "documentAmount": -200000, "viewKind": 3,
         "documentId": 5103, "viewRef": 212}
      ]
    },
    {
      "number": 20, "name": "Zakład Ślusarski Łęcki", "paidTotal": 990000, "dueTotal": 990000,
      "documents": [
        {"number": "FV 3/2026", "date": "20260815", "documentAmount": 990000, "paymentDays": 14,
         "viewKind": 1, "documentId": 6001, "viewRef": 300}
      ]
    },
    {
      "number": 27, "name": "Biuro Rachunkowe Ósemka", "paidTotal": 0, "dueTotal": 12345600,
      "documents": [
        {"number": "FV/2026/11/000123/KOR", "date": "20261102", "documentAmount": 12345600,
         "paymentDays": 7, "viewKind": 1, "documentId": 7001, "viewRef": 400}
      ]
    }
  ]
}
)json";
}

}  // namespace sim
