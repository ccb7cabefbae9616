"""The rows the plug-in lists from the embedded sample ledger on its own date,
largest debt first, as the simulator prints them."""

SAMPLE_ROWS = [
    "Spółdzielnia Świt         FV 101/2026    -48765.43      15.11.2026",
    "Biuro Rach. Ósemka   FV/2026/11/00123     -1234.56      09.11.2026",
    "Hurtownia Żuraw            FV 40/2026      -860.40      26.11.2026",
    "Transport Wróbel           FV 90/2026      -765.00      15.11.2026",
    "Piekarnia Złoty Kłos       FV 51/2026      -430.00      22.10.2026",
    "Ogrodnictwo Jeżyk          FV 81/2026      -200.00      15.10.2026",
    "Sklep Pod Kasztanem        FV 19/2026      -195.00      02.11.2026",
    "Apteka Pod Łabędziem       FV 70/2026      -187.50      04.11.2026",
    "Transport Wróbel           FV 93/2026      -123.00      02.12.2026",
    "Hurtownia Żuraw            FV 12/2026      -100.00      29.10.2026",
    "Apteka Pod Łabędziem       FV 71/2026       -96.00      17.11.2026",
    "PHU Gąsienica             FV 111/2026       -85.50      08.11.2026",
    "Zajazd Pod Dębem          FV 120/2026       -64.20      19.11.2026",
    "Sklep Pod Kasztanem         FV 7/2026       -62.50      23.09.2026",
]
