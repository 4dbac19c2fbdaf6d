#!/usr/bin/env python3
"""Writes the demo reports and profiles of Pliegomatic: a general ledger and
the two VAT books as an accounting program leaves them (Windows-1252 bytes,
CR LF line ends, four header lines), and a Pliegomatic.ini with two
profiles. Run it again to remake the files; the output is always the same."""
import os
import random

HERE = os.path.dirname(os.path.abspath(__file__))
COMPANY = "COMPAÑÍA DISTRIBUIDORA DEL SUR S.A.          C.U.I.T. 30-71234567-8          Av. Belgrano 1250 - Córdoba"
HEADER_LINES = 4


def money(value):
    """1234567.5 -> '1.234.567,50', as the accounting program prints it."""
    whole, cents = divmod(round(value * 100), 100)
    return f"{whole:,}".replace(",", ".") + f",{cents:02d}"


def write(name, lines):
    with open(os.path.join(HERE, name), "wb") as out:
        for line in lines:
            out.write(line.encode("cp1252") + b"\r\n")


def header(title, columns, width):
    return [COMPANY, title, columns, "-" * width]


def ledger():
    columns = (f"{'Fecha':<10} {'Asiento':>7}  {'Comprobante':<18} {'Concepto':<80}"
               f"{'Debe':>20}{'Haber':>20}{'Saldo':>22}")
    width = len(columns)
    lines = header("LIBRO MAYOR GENERAL - Período: 01/01/2024 al 31/03/2024", columns, width)
    accounts = [
        ("1.1.01.001", "Caja", 150000.0),
        ("1.1.02.003", "Banco Nación Cta. Cte. Nº 4521/8", 2350000.0),
        ("1.1.03.001", "Deudores por Ventas", 1830450.75),
        ("2.1.01.002", "Proveedores - Compañía Papelera Ñandú S.R.L.", -912300.0),
        ("4.1.01.001", "Ventas de Mercaderías", 0.0),
        ("5.2.03.004", "Gastos de Librería y Papelería", 0.0),
    ]
    concepts = ["Cobranza factura", "Pago a proveedor según orden", "Depósito en efectivo",
                "Venta contado - sucursal Río Cuarto", "Compra de insumos de oficina",
                "Transferencia entre cuentas", "Nota de crédito por devolución", "Retención Ingresos Brutos",
                "Comisión bancaria mantenimiento", "Anticipo a cuenta - Señor José Peña"]
    rng = random.Random(2024)
    entry = 1
    for code, name, opening in accounts:
        lines.append(f"Cuenta: {code}  {name}")
        lines.append(f"{'':<10} {'':>7}  {'':<18} {'Saldo anterior':<80}{'':>20}{'':>20}{money(opening):>22}")
        balance = opening
        dates = sorted((rng.randint(1, 3), rng.randint(1, 28)) for _ in range(rng.randint(14, 24)))
        for month, day in dates:
            amount = rng.randint(1500, 480000) + rng.randint(0, 99) / 100
            debit = rng.random() < 0.5
            balance += amount if debit else -amount
            voucher = f"{rng.choice(['FC-A', 'FC-B', 'RC', 'OP', 'NC-A'])} 0003-{rng.randint(1, 99999):08d}"
            concept = f"{rng.choice(concepts)} {rng.randint(100, 9999)}"
            lines.append(f"{day:02d}/{month:02d}/2024 {entry:>7}  {voucher:<18} {concept:<80}"
                         f"{money(amount) if debit else '':>20}{'' if debit else money(amount):>20}"
                         f"{money(balance):>22}")
            entry += 1
        lines.append(f"{'':<10} {'':>7}  {'':<18} {'SALDO FINAL: ' + code + ' ' + name:<80}"
                     f"{'':>20}{'':>20}{money(balance):>22}")
        lines.append(" ")
    write("MAYOR.TXT", lines)


def vat_book(name, title, parties):
    columns = (f"{'Fecha':<10} {'Tipo':<5} {'Número':<14} {'Razón Social':<50} {'C.U.I.T.':<13} {'Cond.':<5}"
               f"{'Neto Gravado':>17}{'I.V.A. 21%':>16}{'I.V.A. 10,5%':>16}{'Exento':>14}{'Total':>18}")
    width = len(columns)
    lines = header(title, columns, width)
    rng = random.Random(len(name))
    totals = {"net": 0.0, "21": 0.0, "105": 0.0, "exempt": 0.0, "total": 0.0}
    for day in sorted(rng.randint(1, 31) for _ in range(110)):
        party, cuit, condition = rng.choice(parties)
        net = rng.randint(2000, 350000) + rng.randint(0, 99) / 100
        reduced = rng.random() < 0.25
        vat21 = 0.0 if reduced else round(net * 0.21, 2)
        vat105 = round(net * 0.105, 2) if reduced else 0.0
        exempt = rng.choice([0.0, 0.0, 0.0, rng.randint(100, 9000) + 0.5])
        total = net + vat21 + vat105 + exempt
        for key, value in (("net", net), ("21", vat21), ("105", vat105), ("exempt", exempt), ("total", total)):
            totals[key] += value
        lines.append(f"{day:02d}/03/2024 {rng.choice(['FC-A', 'FC-B', 'NC-A']):<5} "
                     f"{'0003-' + format(rng.randint(1, 99999999), '08d'):<14} {party:<50} {cuit:<13} {condition:<5}"
                     f"{money(net):>17}{money(vat21):>16}{money(vat105):>16}{money(exempt):>14}{money(total):>18}")
    lines.append("-" * width)
    lines.append(f"{'TOTALES DEL PERÍODO':<104}{money(totals['net']):>17}{money(totals['21']):>16}"
                 f"{money(totals['105']):>16}{money(totals['exempt']):>14}{money(totals['total']):>18}")
    lines.append(" ")
    lines.append("Tasas de I.V.A.:")
    lines.append(f"   21,00 %   Neto gravado {money(totals['net'] * 0.8):>16}   Impuesto {money(totals['21']):>16}")
    lines.append(f"   10,50 %   Neto gravado {money(totals['net'] * 0.2):>16}   Impuesto {money(totals['105']):>16}")
    lines.append(f"   Exento                 {money(totals['exempt']):>16}")
    write(name, lines)


PROVIDERS = [("Compañía Papelera Ñandú S.R.L.", "30-70918273-4", "RI"),
             ("Distribuidora Añil S.A.", "30-68123456-1", "RI"),
             ("Imprenta Gómez y Muñoz S.H.", "30-71555444-9", "RI"),
             ("Transportes del Paraná S.A.", "33-65432109-9", "RI"),
             ("Peña Juan José (Monotributo)", "20-22333444-5", "MT")]
CUSTOMERS = [("Supermercados La Cigüeña S.A.", "30-70111222-3", "RI"),
             ("Farmacia Núñez S.C.S.", "30-69876543-2", "RI"),
             ("Ferretería El Ñato de Ibáñez", "20-17654321-0", "MT"),
             ("Consumidor Final", "00-00000000-0", "CF"),
             ("Librería Pérez Hermanos S.R.L.", "30-71020304-6", "RI")]

PROFILES = """[EPSON 12 PULGADAS]
RENGLONES POR PAGINA=72
RENGLONES DEL ENCABEZADO=4
RENGLONES ENTRE PAGINAS=0
LPT=1
NUMERO DE PAGINA=1
[EPSON 11 PULGADAS]
RENGLONES POR PAGINA=66
RENGLONES DEL ENCABEZADO=4
RENGLONES ENTRE PAGINAS=0
LPT=1
NUMERO DE PAGINA=1
"""

if __name__ == "__main__":
    ledger()
    vat_book("IVACOMPRAS.TXT", "LIBRO I.V.A. COMPRAS - Período: Marzo 2024", PROVIDERS)
    vat_book("IVAVENTAS.TXT", "LIBRO I.V.A. VENTAS - Período: Marzo 2024", CUSTOMERS)
    write("Pliegomatic.ini", PROFILES.splitlines())
