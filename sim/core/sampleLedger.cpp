#include "sim/core/ledger.h"

namespace sim {

// A small wholesaler's customers on 9 December 2026. Amounts in units of
// 1/10000: 1500000 is 150,00. What each counterparty shows:
//  12 partial payment through a slot, an invoice not yet due;
//  15 a credit note settled against an invoice by a slot;
//  20 an unpaid invoice, but the card is balanced: no debtor;
//  27 a document number of exactly 16 characters;
//  31 a payment beyond its invoice: the excess goes to the next invoice;
//  33 a debtor with nothing overdue once its payment is settled;
//  36 a name of exactly 20 characters;
//  38 an invoice paid in part on the invoice itself;
//  47 a payment without slots: spent on the invoices in order.
std::string_view sampleLedgerJson() {
    return R"json({
  "today": "20261209",
  "counterparties": [
    {
      "number": 12, "name": "Hurtownia Żuraw", "paidTotal": 500000, "dueTotal": 12504000,
      "documents": [
        {"number": "FV 12/2026", "date": "20261015", "documentAmount": 1500000, "paymentDays": 14,
         "viewKind": 1, "documentId": 4711, "viewRef": 120},
        {"number": "FV 31/2026", "date": "20261120", "documentAmount": 2400000, "paymentDays": 30,
         "viewKind": 1, "documentId": 4730, "viewRef": 131},
        {"number": "FV 40/2026", "date": "20261105", "documentAmount": 8604000, "paymentDays": 21,
         "viewKind": 1, "documentId": 4740, "viewRef": 132},
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
         "documentId": 5103, "viewRef": 212, "slots": [{"key": 5101, "amount": -200000}]}
      ]
    },
    {
      "number": 20, "name": "Ślusarnia Łęcki", "paidTotal": 990000, "dueTotal": 990000,
      "documents": [
        {"number": "FV 3/2026", "date": "20260815", "documentAmount": 990000, "paymentDays": 14,
         "viewKind": 1, "documentId": 6001, "viewRef": 300}
      ]
    },
    {
      "number": 27, "name": "Biuro Rach. Ósemka", "paidTotal": 0, "dueTotal": 12345600,
      "documents": [
        {"number": "FV/2026/11/00123", "date": "20261102", "documentAmount": 12345600,
         "paymentDays": 7, "viewKind": 1, "documentId": 7001, "viewRef": 400}
      ]
    },
    {
      "number": 31, "name": "Piekarnia Złoty Kłos", "paidTotal": 1200000, "dueTotal": 5500000,
      "documents": [
        {"number": "FV 50/2026", "date": "20261001", "documentAmount": 1000000, "paymentDays": 14,
         "viewKind": 1, "documentId": 3150, "viewRef": 501},
        {"number": "FV 51/2026", "date": "20261008", "documentAmount": 4500000, "paymentDays": 14,
         "viewKind": 1, "documentId": 3151, "viewRef": 502},
        {"number": "KP 12/2026", "date": "20261020", "paidAmount": 1200000, "viewKind": 2,
         "documentId": 3152, "viewRef": 503, "slots": [{"key": 3150, "amount": -1200000}]}
      ]
    },
    {
      "number": 33, "name": "Kwiaciarnia Bławatek", "paidTotal": 5000000, "dueTotal": 7000000,
      "documents": [
        {"number": "FV 60/2026", "date": "20261005", "documentAmount": 4000000, "paymentDays": 14,
         "viewKind": 1, "documentId": 3360, "viewRef": 601},
        {"number": "FV 61/2026", "date": "20261012", "documentAmount": 1000000, "paymentDays": 14,
         "viewKind": 1, "documentId": 3361, "viewRef": 602},
        {"number": "FV 64/2026", "date": "20261201", "documentAmount": 2000000, "paymentDays": 30,
         "viewKind": 1, "documentId": 3364, "viewRef": 603},
        {"number": "KP 20/2026", "date": "20261030", "paidAmount": 5000000, "viewKind": 2,
         "documentId": 3365, "viewRef": 604,
         "slots": [{"key": 3360, "amount": -4000000}, {"key": 3361, "amount": -1000000}]}
      ]
    },
    {
      "number": 36, "name": "Apteka Pod Łabędziem", "paidTotal": 0, "dueTotal": 2835000,
      "documents": [
        {"number": "FV 70/2026", "date": "20261021", "documentAmount": 1875000, "paymentDays": 14,
         "viewKind": 1, "documentId": 3670, "viewRef": 701},
        {"number": "FV 71/2026", "date": "20261110", "documentAmount": 960000, "paymentDays": 7,
         "viewKind": 1, "documentId": 3671, "viewRef": 702}
      ]
    },
    {
      "number": 38, "name": "Ogrodnictwo Jeżyk", "paidTotal": 1200000, "dueTotal": 3200000,
      "documents": [
        {"number": "FV 81/2026", "date": "20260915", "paidAmount": 1200000, "documentAmount": 3200000,
         "paymentDays": 30, "viewKind": 1, "documentId": 3881, "viewRef": 801}
      ]
    },
    {
      "number": 40, "name": "Transport Wróbel", "paidTotal": 0, "dueTotal": 8880000,
      "documents": [
        {"number": "FV 90/2026", "date": "20261101", "documentAmount": 7650000, "paymentDays": 14,
         "viewKind": 1, "documentId": 4090, "viewRef": 901},
        {"number": "FV 93/2026", "date": "20261125", "documentAmount": 1230000, "paymentDays": 7,
         "viewKind": 1, "documentId": 4093, "viewRef": 902}
      ]
    },
    {
      "number": 44, "name": "Spółdzielnia Świt", "paidTotal": 0, "dueTotal": 487654300,
      "documents": [
        {"number": "FV 101/2026", "date": "20261016", "documentAmount": 487654300, "paymentDays": 30,
         "viewKind": 1, "documentId": 4401, "viewRef": 1001}
      ]
    },
    {
      "number": 47, "name": "PHU Gąsienica", "paidTotal": 2000000, "dueTotal": 2855000,
      "documents": [
        {"number": "FV 110/2026", "date": "20261020", "documentAmount": 355000, "paymentDays": 14,
         "viewKind": 1, "documentId": 4710, "viewRef": 1101},
        {"number": "FV 111/2026", "date": "20261025", "documentAmount": 2500000, "paymentDays": 14,
         "viewKind": 1, "documentId": 4712, "viewRef": 1102},
        {"number": "KP 30/2026", "date": "20261028", "paidAmount": 2000000, "viewKind": 2,
         "documentId": 4713, "viewRef": 1103}
      ]
    },
    {
      "number": 52, "name": "Zajazd Pod Dębem", "paidTotal": 0, "dueTotal": 642000,
      "documents": [
        {"number": "FV 120/2026", "date": "20261109", "documentAmount": 642000, "paymentDays": 10,
         "viewKind": 1, "documentId": 5220, "viewRef": 1201}
      ]
    }
  ]
}
)json";
}

}  // namespace sim
