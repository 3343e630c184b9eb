select MAX (JIZDY.DELKA) AS MAX_DEL, MIN (JIZDY.DELKA) AS MIN_DEL, COUNT (JIZDY.TRS_C) AS COUNT_JZD, SUM (JIZDY.DELKA) AS SUM_DEL, SUM (JIZDY.CAS) AS SUM_CAS, (SUM (JIZDY.DELKA) / SUM (JIZDY.CAS)) AS AVG_PRU 
from jizdy, typ_trs, typ_trnz, typ_trn, typ_kol, typ_hld
where jizdy.trs_c = typ_trs.trs_c and jizdy.trnz_c = typ_trnz.trnz_c and jizdy.trn_c = typ_trn.trn_c and jizdy.kol_c = typ_kol.kol_c and jizdy.thl_c = typ_hld.thl_c 
 order by MAX_DEL