select JIZDY.DATUM, TYP_TRS.TRS_START, JIZDY.TRS_SMER, JIZDY.DELKA, JIZDY.RYCHL_MAX AS RYCH_MAX, TYP_HLD.THL_ZKR, JIZDY.POPIS1 
from jizdy, typ_trs, typ_trnz, typ_trn, typ_kol, typ_hld
where jizdy.trs_c = typ_trs.trs_c and jizdy.trnz_c = typ_trnz.trnz_c and jizdy.trn_c = typ_trn.trn_c and jizdy.kol_c = typ_kol.kol_c and jizdy.thl_c = typ_hld.thl_c 
 and ( jizdy.datum BETWEEN "1.3.2024" AND "30.6.2024" ) 
 and  ( jizdy.trs_c IN ("2","3","4" )) 
 and  ( jizdy.trn_c IN ("201","202","301" )) 
 order by JIZDY.DATUM