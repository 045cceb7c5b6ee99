#pragma once
// The small company of the requirements explosion and print tests.
#include <QStringList>

namespace kemtest {

// Articles and links:
//   PF1 Tavolo (finished):   SL1 x2, MB1 x4, BASE3 x1;  SL1 Piano (semi-finished): MB1 x3, MB2 x1 KG
//   BASE3 Telaio (base material) has a link to MBX that is never followed
//   PN (finished): SB x1, SA x1 (written in this order); SA and SB (semi-finished): MN x6 each;
//   stock of MN 10
//   PF0 has no links; PFM uses ZZMISS, which is not an article; CY1 -> CY2 -> CY1, CY2 -> MB1
//   PQ (finished): MQ x1; stock of PQ 5, availability -2
// Orders of 2024, one per case: 1 PF1 x1; 2 PN x1; 3 PF0 x2; 4 PFM x1; 5 CY1 x1; 6 PQ x8;
// 7 PQ x2; 8 PQ x3 (5 of 8 already delivered: residual 3); 9 PF1 x1 without any delivery date.
inline QStringList FabbisCompany()
{
    return {
        "INSERT INTO Articoli (Articolo, Descrizione, ArtUM, DistBase) VALUES "
        "('PF1','Tavolo','PZ',1),('SL1','Piano','PZ',2),('MB1','Vite','PZ',3),('MB2','Colla','KG',3),"
        "('BASE3','Telaio','PZ',3),('MBX','Bullone','PZ',3),('PN','Armadio','PZ',1),('SA','Anta A','PZ',2),"
        "('SB','Anta B','PZ',2),('MN','Lamiera','PZ',3),('PF0','Sgabello','PZ',1),('PFM','Mensola','PZ',1),"
        "('CY1','Ciclo uno','PZ',1),('CY2','Ciclo due','PZ',2),('PQ','Panca','PZ',1),('MQ','Listello','PZ',3)",
        "INSERT INTO ArtLegami (ArticoloPadre, ArticoloFiglio, UM, Qta) VALUES "
        "('PF1','SL1','PZ',2),('PF1','MB1','PZ',4),('PF1','BASE3','PZ',1),('SL1','MB1','PZ',3),('SL1','MB2','KG',1),"
        "('BASE3','MBX','PZ',1),('PN','SB','PZ',1),('PN','SA','PZ',1),('SB','MN','PZ',6),('SA','MN','PZ',6),"
        "('PFM','ZZMISS','PZ',2),('CY1','CY2','PZ',1),('CY2','CY1','PZ',1),('CY2','MB1','PZ',1),('PQ','MQ','PZ',1)",
        "INSERT INTO ArticoliProg (Anno, Articolo, Magazzino, QtaIniziale, QtaCarico, QtaSCarico, QtaOrdFor, QtaImpCli) VALUES "
        "(2024,'MN','M1',10,0,0,0,0),(2024,'PQ','M1',4,2,1,0,7),(2023,'MB1','M1',99,0,0,0,0)",
        "INSERT INTO PianoConti (Gruppo, Mastro, Conto, Descrizione) VALUES ('1','10','001','Rossi Srl')",
        "INSERT INTO OrdVenTest (Anno, NumRif, DataRif, NumDoc, DataDoc, Tipo, GruppoCli, MastroCli, ContoCli, DataCons) VALUES "
        "(2024,1,'2024-03-01',0,NULL,'3','1','10','001','2024-03-10'),(2024,2,'2024-03-02',0,NULL,'3','1','10','001','2024-03-10'),"
        "(2024,3,'2024-03-03',0,NULL,'3','1','10','001','2024-03-10'),(2024,4,'2024-03-04',0,NULL,'3','1','10','001','2024-03-10'),"
        "(2024,5,'2024-03-05',0,NULL,'3','1','10','001','2024-03-10'),(2024,6,'2024-03-06',106,'2024-03-07','3','1','10','001','2024-03-10'),"
        "(2024,7,'2024-03-07',0,NULL,'3','1','10','001','2024-03-10'),(2024,8,'2024-03-08',0,NULL,'3','1','10','001','2024-03-10'),"
        "(2024,9,'2024-03-09',0,NULL,'3','1','10','001',NULL)",
        "INSERT INTO OrdVenDett (Anno, NumRif, RigDet, TipoRiga, Articolo, Um, Qta, QtaEvasa, DataCons) VALUES "
        "(2024,1,1,'A','PF1','PZ',1,0,NULL),(2024,2,1,'A','PN','PZ',1,0,NULL),(2024,3,1,'A','PF0','PZ',2,0,NULL),"
        "(2024,4,1,'A','PFM','PZ',1,0,NULL),(2024,5,1,'A','CY1','PZ',1,0,NULL),(2024,6,1,'A','PQ','PZ',8,0,'2024-04-01'),"
        "(2024,7,1,'A','PQ','PZ',2,0,NULL),(2024,8,1,'A','PQ','PZ',8,5,NULL),(2024,9,1,'A','PF1','PZ',1,0,NULL)",
    };
}

} // namespace kemtest
