#include "store/DemoStore.h"

#include "store/Schema.h"
#include "store/Sql.h"

namespace xel {
namespace {

struct DemoClass {
  const char* code;
  const char* parentId;
  const char* id;
  const char* description;
};

struct DemoVariable {
  const char* classCode;
  const char* key;
  const char* value;
  const char* description;
  const char* type;
};

// Positions follow the tree depth first; codes follow the order the classes were created in.
constexpr DemoClass kClasses[] = {
    {"0003", "0000", "0001", "Ventas"},
    {"0007", "0001", "0002", "Descuentos"},
    {"0010", "0001", "0003", "Facturación electrónica"},
    {"0012", "0003", "0004", "Certificados de sello digital"},
    {"0001", "0000", "0005", "Impuestos"},
    {"0008", "0005", "0006", "Retenciones"},
    {"0002", "0000", "0007", "Inventarios"},
    {"0009", "0007", "0008", "Almacenes"},
    {"0004", "0000", "0009", "Seguridad"},
    {"0011", "0009", "0010", "Contraseñas"},
    {"0005", "0000", "0011", "Notificaciones"},
    {"0006", "0011", "0012", "Correo SMTP"},
};

constexpr DemoVariable kVariables[] = {
    {"0003", "VTA_MONEDA", "MXN", "Moneda predeterminada de las ventas", "T"},
    {"0003", "VTA_PERMITE_CREDITO", "1", "Permite vender a crédito", "B"},
    {"0003", "VTA_DIAS_CREDITO", "30", "Días de crédito por omisión", "N"},
    {"0003", "VTA_DECIMALES_PRECIO", "2", "Decimales en los precios de venta", "N"},
    {"0007", "DESC_MAXIMO_PCT", "15", "Descuento máximo sin autorización (%)", "N"},
    {"0007", "DESC_REQUIERE_AUTORIZACION", "1", "Descuentos mayores requieren autorización", "B"},
    {"0007", "DESC_POR_VOLUMEN", "0", "Aplica descuentos por volumen", "B"},
    {"0010", "FE_SERIE", "A", "Serie de los comprobantes", "T"},
    {"0010", "FE_FOLIO_INICIAL", "1", "Primer folio de la serie", "N"},
    {"0010", "FE_VERSION_CFDI", "4.0", "Versión del comprobante fiscal", "T"},
    {"0010", "FE_URL_TIMBRADO", "https://timbrado.ejemplo.mx/api/v1", "Servicio de timbrado", "T"},
    {"0010", "FE_ENVIO_AUTOMATICO", "1", "Envía la factura al cliente al timbrarla", "B"},
    {"0012", "CSD_RUTA_CERTIFICADO", "/etc/xel/csd/certificado.cer", "Archivo del certificado",
     "T"},
    {"0012", "CSD_RUTA_LLAVE", "/etc/xel/csd/llave.key", "Archivo de la llave privada", "T"},
    {"0012", "CSD_DIAS_AVISO", "30", "Días de aviso antes del vencimiento", "N"},
    {"0001", "IVA", "16", "Tasa general del IVA (%)", "N"},
    {"0001", "IVA_FRONTERA", "8", "Tasa del IVA en la región fronteriza (%)", "N"},
    {"0001", "IEPS_APLICA", "0", "Calcula el IEPS en las ventas", "B"},
    {"0001", "IMP_DECIMALES", "2", "Decimales en el cálculo de impuestos", "N"},
    {"0008", "RET_ISR_HONORARIOS", "10", "Retención de ISR por honorarios (%)", "N"},
    {"0008", "RET_IVA_FLETES", "4", "Retención de IVA en fletes (%)", "N"},
    {"0008", "RET_PERSONAS_MORALES", "1", "Retiene a personas morales", "B"},
    {"0002", "INV_METODO_COSTEO", "PROMEDIO", "Método de costeo del inventario", "T"},
    {"0002", "INV_PERMITE_NEGATIVOS", "0", "Permite existencias negativas", "B"},
    {"0002", "INV_DIAS_REORDEN", "7", "Días de cobertura para el punto de reorden", "N"},
    {"0009", "ALM_PRINCIPAL", "CEDIS Monterrey", "Almacén principal", "T"},
    {"0009", "ALM_UBICACIONES_PASILLO", "40", "Ubicaciones por pasillo", "N"},
    {"0009", "ALM_CONTROL_LOTES", "1", "Controla lotes y caducidades", "B"},
    {"0004", "SEG_INTENTOS_FALLIDOS", "3", "Intentos antes de bloquear al usuario", "N"},
    {"0004", "SEG_MINUTOS_SESION", "20", "Minutos de inactividad antes de cerrar la sesión", "N"},
    {"0004", "SEG_BITACORA", "1", "Registra los cambios en la bitácora", "B"},
    {"0011", "PWD_LONGITUD_MINIMA", "10", "Longitud mínima de la contraseña", "N"},
    {"0011", "PWD_DIAS_VIGENCIA", "90", "Días de vigencia de la contraseña", "N"},
    {"0011", "PWD_REQUIERE_SIMBOLOS", "1", "La contraseña debe llevar símbolos", "B"},
    {"0005", "NOT_REMITENTE", "Avisos del sistema <avisos@ejemplo.mx>", "Remitente de los avisos",
     "T"},
    {"0005", "NOT_AVISAR_ERRORES", "1", "Avisa por correo los errores del cierre diario", "B"},
    {"0006", "SMTP_SERVIDOR", "smtp.ejemplo.mx", "Servidor de correo saliente ('host' o IP)", "T"},
    {"0006", "SMTP_PUERTO", "587", "Puerto del servidor de correo", "N"},
    {"0006", "SMTP_USA_TLS", "1", "Cifra la conexión con TLS", "B"},
    {"0006", "SMTP_USUARIO", "avisos@ejemplo.mx", "Cuenta que envía los avisos", "T"},
};

std::string Quoted(const char* value) {
  return "'" + Quote(value) + "'";
}

void InsertClass(Connection& db, const DemoClass& c) {
  db.Execute(std::string("INSERT INTO ") + sql::XEL_Clase_Variable + " (" +
             sql::Cv_Cve_Clase_Variable + ", " + sql::Cv_Padre + ", " + sql::Cv_Id + ", " +
             sql::Cv_Descripcion + ", " + sql::Fecha_Ult_Modif + ") VALUES(" + Quoted(c.code) +
             ", " + Quoted(c.parentId) + ", " + Quoted(c.id) + ", " + Quoted(c.description) +
             ", getdate())");
}

void InsertVariable(Connection& db, const DemoVariable& v) {
  db.Execute(std::string("INSERT INTO ") + sql::XEL_Configuracion + " (" +
             sql::Cv_Cve_Clase_Variable + ", " + sql::Cf_Variable + ", " + sql::Cf_Valor + ", " +
             sql::Cf_Descripcion + ", " + sql::Cf_Tipo + ", " + sql::Fecha_Ult_Modif + ") VALUES(" +
             Quoted(v.classCode) + ", " + Quoted(v.key) + ", " + Quoted(v.value) + ", " +
             Quoted(v.description) + ", " + Quoted(v.type) + ", getdate())");
}

}  // namespace

void SeedDemoStore(Connection& db) {
  RunInTransaction(db, [&] {
    for (const DemoClass& c : kClasses) {
      InsertClass(db, c);
    }
    for (const DemoVariable& v : kVariables) {
      InsertVariable(db, v);
    }
  });
}

std::unique_ptr<Connection> OpenOrCreateDemoStore(const std::string& path) {
  std::unique_ptr<Connection> db = OpenConnection("sqlite:" + path);
  // Decided inside the transaction, which holds the file's write lock: two editors starting on a
  // new file at once seed it once.
  RunInTransaction(*db, [&] {
    bool isNew = MissingTables(*db).size() == 2;
    CreateSchema(*db);
    if (isNew) {
      SeedDemoStore(*db);
    }
  });
  return db;
}

}  // namespace xel
