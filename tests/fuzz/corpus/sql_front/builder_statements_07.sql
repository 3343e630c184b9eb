select TYP_TRN.TRN_N, COUNT (JIZDY.KOL_C) AS COUNT_KOL 
, JIZDY.TRN_C
from jizdy, typ_trs, typ_trnz, typ_trn, typ_kol, typ_hld
where jizdy.trs_c = typ_trs.trs_c and jizdy.trnz_c = typ_trnz.trnz_c and jizdy.trn_c = typ_trn.trn_c and jizdy.kol_c = typ_kol.kol_c and jizdy.thl_c = typ_hld.thl_c 
 and  (  jizdy.osob = "2"  ) 
 group by TYP_TRN.TRN_N, JIZDY.TRN_C
 order by TYP_TRN.TRN_N, JIZDY.TRN_C