select TYP_TRS.TRS_START, TYP_TRS.TRS_CIL, COUNT (JIZDY.TRS_C) AS COUNT_JIZ, SUM (JIZDY.DELKA) AS SUM_DEL 
, JIZDY.TRS_C
from jizdy, typ_trs, typ_trnz, typ_trn, typ_kol, typ_hld
where jizdy.trs_c = typ_trs.trs_c and jizdy.trnz_c = typ_trnz.trnz_c and jizdy.trn_c = typ_trn.trn_c and jizdy.kol_c = typ_kol.kol_c and jizdy.thl_c = typ_hld.thl_c 
 and  ( jizdy.datum BETWEEN "1.1.2024" AND "31.12.2024" ) 
 and  ( jizdy.kol_c NOT IN ("1","3" )) 
 group by TYP_TRS.TRS_START, TYP_TRS.TRS_CIL, JIZDY.TRS_C
 order by TYP_TRS.TRS_START, JIZDY.TRS_C