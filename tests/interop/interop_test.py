#!/usr/bin/python3
"""Tables we write are read by dbfread; tables python-dbf writes are read by us.

Usage: interop_test.py WRITER KOLVIO_DB
Both libraries are Debian packages that no one here wrote.
"""
import csv
import datetime
import io
import os
import subprocess
import sys
import tempfile
import time
import unittest

import dbf
import dbfread

WRITER, KOLVIO_DB = sys.argv[1], sys.argv[2]


class DbfreadReadsOurTables(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.dir = tempfile.TemporaryDirectory()
        subprocess.run([WRITER, cls.dir.name], check=True)

    @classmethod
    def tearDownClass(cls):
        cls.dir.cleanup()

    def test_rides_values_types_and_text(self):
        table = dbfread.DBF(f"{self.dir.name}/jizdy.dbf")
        self.assertEqual(table.encoding, "cp852")  # from the language byte 0x1F
        rows = list(table)
        self.assertEqual(len(rows), 2, "the deleted ride must be skipped")
        first, last = rows
        self.assertEqual(first["DATUM"], datetime.date(2003, 5, 1))
        self.assertAlmostEqual(first["DELKA"], 42.5)
        self.assertEqual(first["OSOB"], 1)
        self.assertEqual(first["POPIS1"], "Příliš žluťoučký kůň úpěl ďábelské ódy")
        self.assertIs(first["SR_MER"], True)
        self.assertAlmostEqual(first["SR_AVG"], 142.25)
        self.assertEqual(last["DATUM"], datetime.date(2003, 5, 3))
        self.assertEqual(last["POPIS1"], "")
        self.assertIsNone(last["SR_MER"])
        self.assertIsNone(last["SR_AVG"])
        self.assertEqual(last["OSOB"], 12)

    def test_deleted_row_is_still_in_the_file(self):
        deleted = list(dbfread.DBF(f"{self.dir.name}/jizdy.dbf").deleted)
        self.assertEqual([r["POPIS1"] for r in deleted], ["smazaná jízda"])

    def test_blob_table_with_memo_file(self):
        rows = list(dbfread.DBF(f"{self.dir.name}/typ_trs.dbf"))
        self.assertEqual(rows[0]["TRS_MEZI"], "Brno;Tišnov;Nedvědice")
        picture = b"GIF89a\x01\x00\x01\x00\x80\xff"
        # dBase IV block lengths count the 8-byte block header; dbfread reads
        # that many bytes after it, so it may return padding behind the data.
        self.assertTrue(bytes(rows[0]["TRS_OBR"]).startswith(picture))
        self.assertIsNone(rows[1]["TRS_OBR"])


class WeReadPythonDbfTables(unittest.TestCase):
    def test_dbase3_table_with_memo(self):
        with tempfile.TemporaryDirectory() as d:
            t = dbf.Table(f"{d}/kola.dbf", "KOL_C N(5,0); KOL_TYP C(20); KM N(10,2); "
                          "KOUPENO D; AKTIVNI L; POZN M", dbf_type="db3", codepage="cp852")
            t.open(dbf.READ_WRITE)
            t.append((1, "SILNIČNÍ ZÁVODNÍ", 1234.5, dbf.Date(2001, 3, 9), True, "řetěz nový"))
            t.append((2, "horské", None, None, False, ""))
            t.append((3, "smazat", 1, None, None, ""))
            dbf.delete(t[2])
            t.close()
            out = subprocess.run([KOLVIO_DB, "dump", f"{d}/kola.dbf", "--rows"],
                                 check=True, capture_output=True, text=True).stdout
            header, rows = out.split("\n\n", 1)
            self.assertIn("KOL_TYP    C  20", header)
            self.assertIn("jazykový bajt: 0x1F", header)
            rows = list(csv.DictReader(io.StringIO(rows)))
            self.assertEqual(len(rows), 3)
            self.assertEqual(rows[0]["KOL_TYP"], "SILNIČNÍ ZÁVODNÍ")
            self.assertEqual(float(rows[0]["KM"]), 1234.5)
            self.assertEqual(rows[0]["KOUPENO"], "2001-03-09")
            self.assertEqual(rows[0]["AKTIVNI"], "T")
            self.assertEqual(rows[0]["POZN"], "řetěz nový")
            self.assertEqual(rows[1]["KM"], "")
            self.assertEqual(rows[1]["AKTIVNI"], "F")
            self.assertEqual([r["_DELETED"] for r in rows], ["0", "0", "1"])


class SummariesFollowAPeerWriter(unittest.TestCase):
    """Block summaries kept beside a table are never trusted once another program changed it."""

    def sql(self, d, statement):
        return subprocess.run([KOLVIO_DB, "sql", d, "-e", statement],
                              check=True, capture_output=True, text=True).stdout

    def test_row_changed_by_python_dbf_between_two_statements(self):
        with tempfile.TemporaryDirectory() as d:
            t = dbf.Table(f"{d}/jizdy.dbf", "DATUM D; DELKA N(10,1)", dbf_type="db3",
                          codepage="cp852")
            t.open(dbf.READ_WRITE)
            # More than one block of 4096 records: a smaller table gets no sidecar.
            for i in range(5000):
                t.append((datetime.date(2020, 1, 1) + datetime.timedelta(days=i), 10.0 + i % 50))
            t.close()
            # What a statement learns of a file changed in the last 3 s is not kept.
            time.sleep(3.1)
            q = "select max(delka), count(*), min(datum) from jizdy"
            first = self.sql(d, q)
            self.assertIn("\n59,5000,2020-01-01\n", first)
            self.assertTrue(os.path.exists(f"{d}/jizdy.kzm"), "the summaries stay for the next statement")
            self.assertEqual(self.sql(d, q), first)
            t.open(dbf.READ_WRITE)
            with t[3] as row:
                row.delka = 500.0
            t.close()
            self.assertIn("\n500,5000,2020-01-01\n", self.sql(d, q))
            t.open(dbf.READ_WRITE)
            dbf.delete(t[0])
            t.close()
            self.assertIn("\n500,4999,2020-01-02\n", self.sql(d, q))


class IndexContentsFollowAPeerWriter(unittest.TestCase):
    """Index contents kept beside a table are never trusted once another program changed it."""

    def sql(self, d, statement):
        return subprocess.run([KOLVIO_DB, "sql", d, "-e", statement],
                              check=True, capture_output=True, text=True).stdout

    def test_row_changed_by_python_dbf_between_two_statements(self):
        with tempfile.TemporaryDirectory() as d:
            t = dbf.Table(f"{d}/jizdy.dbf", "DATUM D; TRS_C N(5,0); DELKA N(10,1)",
                          dbf_type="db3", codepage="cp852")
            t.open(dbf.READ_WRITE)
            # More than one block of 4096 records: a smaller table is read whole.
            for i in range(5000):
                t.append((datetime.date(2020, 1, 1) + datetime.timedelta(days=i), i % 100,
                          float(i)))
            t.close()
            with open(f"{d}/jizdy.kix", "w", encoding="utf-8") as kix:
                kix.write("KOLVIO-INDEX 1\nTRS_C\tTRS_C\tA\n")
            # Index contents read from a file changed in the last 3 s are not kept.
            time.sleep(3.1)
            q = "select delka from jizdy where trs_c = 7 order by delka"
            expected = [str(i) for i in range(7, 5000, 100)]
            self.assertEqual(self.sql(d, q).split()[1:], expected)
            self.assertTrue(os.path.exists(f"{d}/jizdy.kid"), "the index stays for the next statement")
            self.assertEqual(self.sql(d, q).split()[1:], expected)
            t.open(dbf.READ_WRITE)
            with t[8] as row:   # into the key
                row.trs_c = 7
            with t[107] as row:  # out of it
                row.trs_c = 8
            t.close()
            changed = sorted(["8"] + [e for e in expected if e != "107"], key=float)
            self.assertEqual(self.sql(d, q).split()[1:], changed)
            t.open(dbf.READ_WRITE)
            dbf.delete(t[7])
            t.close()
            self.assertEqual(self.sql(d, q).split()[1:], [e for e in changed if e != "7"])


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1], verbosity=2)
